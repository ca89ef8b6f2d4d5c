// Runs only on a real X display (CTest starts it under Xvfb): a real file dialog and a real
// pop-up menu, driven by keys that xdotool types through the X server.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"
#include "tests/platform/core/TempFolder.h"


TEST(RealDesktop, FileDialogTakesATypedName)
{
    REQUIRE_REAL_X();
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) << "xdotool is missing";
    TempFolder folder;
    TRealDialogs real;
    TSaveDialog dialog(nullptr);
    dialog.Title = "\xC0\xFA\xC0\xE5";  // 저장
    dialog.DefaultExt = "Wlk";
    dialog.Filter = "Walk files (*.Wlk)|*.Wlk|All files (*.*)|*.*";
    dialog.InitialDir = ProgramPath();
    dialog.Options |= ofNoChangeDir;
    TypeWhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
                  "xdotool type --delay 30 route && xdotool key --delay 100 Return");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "route.Wlk");
    EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST(RealDesktop, PopupChosenByKeysMayFreeItsOwner)
{
    REQUIRE_REAL_X();
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) << "xdotool is missing";
    TRealDialogs real;
    std::vector<std::string> log;
    TForm* form = new TForm(nullptr);
    form->SetBounds(50, 50, 200, 150);
    form->Show();
    auto* popup = new TPopupMenu(form);
    for (const char* caption : {"&Copy", "-", "C&lose"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        popup->Items()->Add(item);
    }
    popup->Items()->Items(2)->OnClick = [&](TObject*) {
        log.push_back("close");
        delete form;
    };
    TypeWhenShown([] { return QApplication::activePopupWidget(); }, "xdotool key --delay 100 Down Down Return");
    popup->Popup(80, 80);
    log.push_back("returned");
    EXPECT_TRUE(WaitUntil([&] { return log.size() >= 2; }, "the chosen item's handler"));
    EXPECT_EQ(log, (std::vector<std::string>{"returned", "close"}));
    EXPECT_EQ(Screen->FormCount(), 0);
}
