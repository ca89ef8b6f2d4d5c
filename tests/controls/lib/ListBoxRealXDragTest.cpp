// Runs only on a real X display (CTest starts it under Xvfb): xdotool presses on a selected item
// of a list box whose drag is automatic and carries it to another list box, and drags an item
// where nobody takes it. Each step of the
// pointer starts when the lists report the one before (the drag started, the target entered), so
// nothing waits a fixed time.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QProcess>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/lib/ExListBox.h"

namespace {

// xdotool commands run in the background while the drag's loop goes on; stopped when the test
// ends.
class TPointer {
public:
    ~TPointer()
    {
        for (auto& process : FRunning) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    void Run(const std::string& commands)
    {
        auto process = std::make_unique<QProcess>();
        QStringList args;
        for (const QString& word : QString::fromStdString(commands).split(QLatin1Char(' ')))
            args << word;
        process->start(QStringLiteral("xdotool"), args);
        EXPECT_TRUE(process->waitForStarted(kXDeadlineMs)) << commands;
        FRunning.push_back(std::move(process));
    }

private:
    std::vector<std::unique_ptr<QProcess>> FRunning;
};

// The screen point at the middle of a list's item, as the window that shows the items has it.
std::string At(TExCustomListBox* list, int item, int dy = 0, int dx = 0)
{
    const TRect r = list->ItemRect(item);
    QWidget* viewport = static_cast<QAbstractScrollArea*>(list->Handle())->viewport();
    const QPoint p = viewport->mapToGlobal(QPoint(r.Left + 20 + dx, (r.Top + r.Bottom) / 2 + dy));
    return std::to_string(p.x()) + " " + std::to_string(p.y());
}

}  // namespace

TEST(ListBoxRealXDrag, ASelectedItemPressedAndCarriedDropsOnTheOtherList)
{
    REQUIRE_REAL_X("xdotool");
    TForm form(nullptr);
    form.SetBounds(30, 30, 420, 220);
    auto* source = Place<TExCustomListBox>(form, 10, 10, 180, 180);
    auto* target = Place<TExCustomListBox>(form, 220, 10, 180, 180);
    for (const char* s : {"one", "two", "three"})
        source->Items()->Add(s);
    for (const char* s : {"alpha", "beta"})
        target->Items()->Add(s);
    ShowOnScreen(form);
    source->SetMultiSelect(true);
    source->SetSelected(0, true);
    source->SetSelected(2, true);
    source->SetDragMode(dmAutomatic);

    TPointer pointer;
    std::string log;
    bool moved = false, ended = false;
    source->OnMouseMove = [&](TObject*, TShiftState, int, int) { moved = true; };
    source->OnStartDrag = [&](TObject*) {
        log += "start;";
        pointer.Run("mousemove " + At(target, 0, -2) + " mousemove " + At(target, 0));
    };
    target->OnDragOver = [&](TObject*, TObject* from, int, int, TDragState state, bool& accept) {
        if (state != dsDragEnter)
            return;
        log += from == source ? "enter from source;" : "enter from ?;";
        pointer.Run("mouseup 1");
    };
    target->OnDragDrop = [&](TObject*, TObject*, int x, int y) {
        target->Items()->Insert(target->ItemAtPos(TPoint{x, y}, false), "dropped");
        log += "drop;";
    };
    source->OnEndDrag = [&](TObject*, TObject* to, int, int) {
        log += to == target ? "end on target;" : "end elsewhere;";
        ended = true;
    };

    pointer.Run("mousemove " + At(source, 2));
    ASSERT_TRUE(WaitUntil([&] { return moved; }, "the pointer on the source list"));
    pointer.Run("mousedown 1");
    ASSERT_TRUE(WaitUntil([&] { return ended; }, "the end of the drag"));
    EXPECT_EQ(log, "start;enter from source;drop;end on target;");
    EXPECT_EQ(target->Items()->Strings(0), "dropped");
    // The press that started the drag selected nothing.
    EXPECT_TRUE(source->Selected(0));
    EXPECT_FALSE(source->Selected(1));
    EXPECT_TRUE(source->Selected(2));
    RunServed(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("1000"), QStringLiteral("700")});
}

TEST(ListBoxRealXDrag, ADragNobodyTakesLeavesTheClickWhereItEnded)
{
    REQUIRE_REAL_X("xdotool");
    TForm form(nullptr);
    form.SetBounds(30, 30, 220, 220);
    auto* list = Place<TExCustomListBox>(form, 10, 10, 180, 180);
    for (const char* s : {"one", "two", "three"})
        list->Items()->Add(s);
    ShowOnScreen(form);
    list->SetDragMode(dmAutomatic);

    TPointer pointer;
    std::string log;
    bool moved = false, ended = false;
    list->OnMouseMove = [&](TObject*, TShiftState, int, int) { moved = true; };
    list->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        log += "down;";
        // The first press only: the second is the click the drag leaves.
        if (log == "down;")
            pointer.Run("mousemove " + At(list, 0, 0, 12));
    };
    list->OnStartDrag = [&](TObject*) {
        log += "start;";
        // No list takes it: the list itself has no OnDragOver.
        pointer.Run("mousemove " + At(list, 2, -2) + " mousemove " + At(list, 2) + " mouseup 1");
    };
    list->OnEndDrag = [&](TObject*, TObject* to, int, int) {
        log += to ? "end on a target;" : "end;";
        ended = true;
    };

    pointer.Run("mousemove " + At(list, 0));
    ASSERT_TRUE(WaitUntil([&] { return moved; }, "the pointer on the list"));
    pointer.Run("mousedown 1");
    ASSERT_TRUE(WaitUntil([&] { return ended; }, "the end of the drag"));
    // The press selected item 0; the click the drag left (its press: the second "down") selects
    // where the drag ended.
    EXPECT_EQ(log, "down;start;down;end;");
    EXPECT_EQ(list->ItemIndex(), 2);
    RunServed(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("1000"), QStringLiteral("700")});
}
