#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowManager.h"
#include "platform/core/WindowCascade.h"
#include "platform/gui/Application.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Queue.h"

using Log = std::vector<std::string>;

TEST(FormClose, CloseQueryMayRefuseAndOnCloseChoosesTheAction)
{
    auto* form = new TForm(TestApplication());
    std::vector<std::string> log;
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        log.push_back("query");
        canClose = allow;
    };
    form->OnClose = [&](TObject*, TCloseAction& action) {
        log.push_back("close");
        action = caFree;
    };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
    // Freed later, from the event loop, not inside Close.
    EXPECT_TRUE(Screen->HasForm(form));
    RunQueuedCalls();
    EXPECT_FALSE(Screen->HasForm(form));
    EXPECT_EQ(log, (Log{"query", "query", "close"}));
}

TEST(FormClose, WindowSystemCloseRunsTheSameProtocol)
{
    TForm form(nullptr);
    int closes = 0;
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form.Show();
    form.Handle()->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.Visible());
}

TEST(FormModal, ShowModalReturnsTheModalResultSetByAHandler)
{
    TForm dialog(nullptr);
    std::vector<std::string> log;
    dialog.OnShow = [&](TObject*) { log.push_back("show"); };
    dialog.OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
    QueueCall([&] { dialog.SetModalResult(mrYes); });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(log, (Log{"show", "close"}));
    // Showing a visible form modally is refused.
    dialog.Show();
    EXPECT_THROW(dialog.ShowModal(), EInvalidOperation);
}

TEST(FormModal, ClosedModalFormLeavesNoWindowBlocked)
{
    TForm main(nullptr);
    main.Show();
    TForm dialog(nullptr);
    QueueCall([&] { dialog.Close(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    QCoreApplication::processEvents();
    // Qt would otherwise keep the hidden dialog as the modal window and ignore input to the others.
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
}

// A double click that opens a dialog (the status line's editor, a bar button's editor) never
// sees its release: the dialog takes the mouse. The capture the press set stayed with the pane,
// and the first click on the form after the dialog closed, on a button say, went to the pane.
TEST(FormModal, RegressionTheClickAfterADialogOpenedByADoubleClickWasLost)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* pane = new TPanel(&form);
    pane->SetParent(&form);
    pane->SetBounds(0, 0, 300, 90);
    TForm dialog(nullptr);
    pane->OnDblClick = [&](TObject*) {
        QueueCall([&] { dialog.Close(); });
        dialog.ShowModal();
    };
    form.Show();
    SendMouse(pane->Handle(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    SendMouse(pane->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    SendMouse(pane->Handle(), QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(ClicksOfAButtonClickedOnce(form), 1);
}

TEST(FormPosition, LargerFormCentredOnItsOwnerAtTheCornerStartsOnTheScreen)
{
    TForm owner(nullptr);
    owner.SetBounds(0, 0, 400, 300);
    owner.Show();
    auto* editor = new TForm(&owner);
    editor->SetBounds(0, 0, 800, 700);
    editor->SetPosition(poOwnerFormCenter);
    editor->Show();
    // Held on the screen at its owner's corner, it takes the next step of the cascade instead.
    EXPECT_EQ(editor->Left(), kCascadeStep);
    EXPECT_EQ(editor->Top(), kCascadeStep);
    auto* small = new TForm(&owner);
    small->SetBounds(0, 0, 200, 100);
    small->SetPosition(poOwnerFormCenter);
    small->Show();
    EXPECT_EQ(small->Left(), 100);
    EXPECT_EQ(small->Top(), 100);
}

TEST(FormPosition, RegressionFormCentredOnItsOwnerNearTheScreensCornerWentOffIt)
{
    ASSERT_NE(Screen, nullptr);
    const int width = Screen->Width(), height = Screen->Height();
    TForm owner(nullptr);
    owner.SetBounds(width - 200, height - 150, 400, 300);
    owner.Show();
    auto* editor = new TForm(&owner);
    editor->SetBounds(0, 0, 600, 500);
    editor->SetPosition(poOwnerFormCenter);
    editor->Show();
    EXPECT_EQ(editor->Left(), width - 600);
    EXPECT_EQ(editor->Top(), height - 500);
    // Larger than the screen: the title bar stays on it.
    auto* huge = new TForm(&owner);
    huge->SetBounds(0, 0, width + 100, height + 100);
    huge->SetPosition(poOwnerFormCenter);
    huge->Show();
    EXPECT_EQ(huge->Left(), 0);
    EXPECT_EQ(huge->Top(), 0);
}

TEST(FormModal, RefusedCloseQueryKeepsTheModalLoopRunning)
{
    TForm dialog(nullptr);
    int queries = 0;
    dialog.OnCloseQuery = [&](TObject*, bool& ok) { ok = ++queries > 1; };
    QueueCall([&] {
        dialog.SetModalResult(mrOk);  // refused: the result is reset
        QueueCall([&] { dialog.Close(); });
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST(FormFocus, FocusingAControlOfAnInactiveFormActivatesIt)
{
    TForm typing(nullptr);
    auto* line = new TCustomControl(&typing);
    line->SetParent(&typing);
    typing.Show();
    TForm capture(nullptr);
    capture.Show();
    capture.Handle()->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return capture.Handle()->isActiveWindow(); }, "the capture window active"));
    line->SetFocus();
    // The keys typed next go to the line, not to the window shown last.
    EXPECT_TRUE(WaitUntil([&] { return typing.Handle()->isActiveWindow(); }, "the typing window active again"));
}

TEST(FormModal, ClosedModalFormGivesTheKeysBackToTheWindowActiveBefore)
{
    TForm main(nullptr);
    main.Show();
    main.Handle()->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active"));
    TForm dialog(nullptr);
    bool dialogWasActive = false;
    QueueCall([&] {
        dialog.Handle()->activateWindow();
        dialogWasActive = LoopUntil([&] { return dialog.Handle()->isActiveWindow(); });
        dialog.Close();
    });
    dialog.ShowModal();
    ASSERT_TRUE(dialogWasActive);
    EXPECT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active again"));
}

TEST(FormFocus, HiddenActiveFormGivesTheKeysBackToTheWindowActiveBefore)
{
    TForm main(nullptr);
    main.Show();
    main.Handle()->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active"));
    TForm editor(nullptr);
    editor.Show();
    ASSERT_TRUE(WaitUntil([&] { return editor.Handle()->isActiveWindow(); }, "the editor active"));
    editor.Close();
    EXPECT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active again"));
}

TEST(FormFocus, FormShownWithoutActivationLeavesTheTypingWindowActive)
{
    // The offscreen platform activates every window it shows.
    REQUIRE_REAL_X();
    TForm typing(nullptr);
    typing.Show();
    typing.Handle()->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return typing.Handle()->isActiveWindow(); }, "the typing window active"));
    TForm output(nullptr);
    output.ShowWithoutActivation();
    ASSERT_TRUE(WaitUntil([&] { return Exposed(output.Handle()); }, "the output window on the screen"));
    // Whatever the window system was asked has come back.
    QGuiApplication::sync();
    EXPECT_TRUE(output.Visible());
    EXPECT_TRUE(typing.Handle()->isActiveWindow());
    EXPECT_FALSE(output.Handle()->isActiveWindow());
}

TEST(FormModal, WindowActiveBeforeAFileDialogOrBoxIsActiveAfterIt)
{
    TForm main(nullptr);
    main.Show();
    main.Handle()->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active"));
    // Dialogs of the window system's own, shown and closed inside the scope; the second right
    // after the first (a file dialog, then the box asking to create the file).
    const auto dialogInScope = [] {
        TModalScope modal;
        QWidget dialog;
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(WaitUntil([&] { return dialog.isActiveWindow(); }, "the dialog active"));
        dialog.hide();
    };
    dialogInScope();
    dialogInScope();
    EXPECT_TRUE(WaitUntil([&] { return main.Handle()->isActiveWindow(); }, "the main window active again"));
}

// A form's Left and Top are those of its frame, as a window manager frames it: one placed at the
// top of the screen kept its title bar above the screen, out of the player's reach.
TEST(FormBoundsRealX, RegressionFormAtTheTopOfTheScreenKeepsItsTitleBarOnIt)
{
    REQUIRE_REAL_X();
    TWindowManager manager;
    ASSERT_TRUE(manager.Start());
    {
        TForm form(nullptr);
        form.SetBounds(0, 0, 300, 200);
        form.Show();
        QWidget* w = form.Handle();
        ASSERT_TRUE(WaitUntil([&] { return Exposed(w) && w->frameGeometry() != w->geometry(); }, "the form framed"));
        QGuiApplication::sync();
        EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(0, 0));
        EXPECT_GT(w->geometry().top(), 0);
        EXPECT_EQ(form.Left(), 0);
        EXPECT_EQ(form.Top(), 0);
        EXPECT_EQ(w->size(), QSize(300, 200));
    }
}

// Closing the main form with a window that stays shown (here one that refuses to close) left the
// program running without a window to close.
TEST(ApplicationEnd, RegressionTerminateEndsTheLoopWhileAWindowStaysShown)
{
    TestApplication();
    TForm stubborn(nullptr);
    stubborn.OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    stubborn.Show();
    QueueCall([] { Application->Terminate(); });
    // Only a loop that goes on past its end would let this run.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(stubborn.Visible());
}

TEST(FormFocus, EnterAndExitFollowTheFocusedControl)
{
    TForm form(nullptr);
    auto* a = new TCustomControl(&form);
    auto* b = new TCustomControl(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    std::vector<std::string> log;
    a->OnEnter = [&](TObject*) { log.push_back("enter a"); };
    a->OnExit = [&](TObject*) { log.push_back("exit a"); };
    b->OnEnter = [&](TObject*) { log.push_back("enter b"); };
    form.Show();
    a->SetFocus();
    b->SetFocus();
    EXPECT_EQ(form.ActiveControl(), b);
    EXPECT_EQ(log, (Log{"enter a", "exit a", "enter b"}));
    form.SetActiveControl(nullptr);
    b->SetVisible(false);
    EXPECT_THROW(form.SetActiveControl(b), EInvalidOperation);
    form.SetActiveControl(a);
    delete a;  // the form forgets a freed control
    EXPECT_EQ(form.ActiveControl(), nullptr);
}

TEST(FormCaption, CaptionIsTheWindowTitle)
{
    TForm form(nullptr);
    form.SetCaption("\xC4\xB3\xB8\xAF\xC5\xCD");  // 캐릭터
    form.Show();
    EXPECT_EQ(form.Handle()->windowTitle(), QString::fromUtf8("\xEC\xBA\x90\xEB\xA6\xAD\xED\x84\xB0"));
}

TEST(ApplicationExceptions, UncaughtExceptionsReachOnExceptionOrTheDialog)
{
    TApplication* app = TestApplication();
    std::string seen;
    app->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
    QueueCall([] { throw EInvalidOperation("Invalid row accessed"); });
    RunQueuedCalls();
    EXPECT_EQ(seen, "Invalid row accessed");
    app->OnException = nullptr;

    std::string boxText;
    TMessageBoxHook old = SetMessageBoxHook([&](const AnsiString& text, const AnsiString&, unsigned) {
        boxText = text;
        return IDOK;
    });
    QueueCall([] { throw Exception("Unable to read performance data"); });
    RunQueuedCalls();
    SetMessageBoxHook(old);
    EXPECT_EQ(boxText, "Unable to read performance data.");
}

TEST(FormActivation, WindowActivationFiresOnActivateAndSetsTheActiveForm)
{
    TForm a(nullptr), b(nullptr);
    std::vector<std::string> log;
    a.OnActivate = [&](TObject*) { log.push_back("activate a"); };
    a.OnDeactivate = [&](TObject*) { log.push_back("deactivate a"); };
    b.OnActivate = [&](TObject*) { log.push_back("activate b"); };
    a.Show();
    b.Show();
    auto send = [](TForm& f, QEvent::Type t) {
        QEvent e(t);
        QCoreApplication::sendEvent(f.Handle(), &e);
    };
    send(a, QEvent::WindowActivate);
    EXPECT_EQ(Screen->ActiveForm(), &a);
    send(a, QEvent::WindowDeactivate);
    send(b, QEvent::WindowActivate);
    EXPECT_EQ(Screen->ActiveForm(), &b);
    EXPECT_EQ(log, (Log{"activate a", "deactivate a", "activate b"}));
}

// A form the program never placed cascades off the one shown; a place given or restored is
// kept exactly, also on another window's corner.
TEST(FormPosition, FormsGivenNoPlaceCascadeAndPlacesGivenAreKept)
{
    TForm first(nullptr), second(nullptr), restored(nullptr);
    first.Show();
    second.Show();
    EXPECT_EQ(second.Left() - first.Left(), kCascadeStep);
    TWindowPlacement stored;
    stored.NormalPosition = first.BoundsRect();
    restored.SetPlacement(stored);
    restored.Show();
    EXPECT_EQ(restored.BoundsRect(), first.BoundsRect());
}

TEST(FormPosition, ScreenCenterPlacesTheFormOnItsFirstShow)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poScreenCenter);
    form.Show();
    EXPECT_EQ(form.Left(), (Screen->Width() - 200) / 2);
    EXPECT_EQ(form.Top(), (Screen->Height() - 100) / 2);
    form.Hide();
    form.SetLeft(5);
    form.Show();  // only the first time
    EXPECT_EQ(form.Left(), 5);
}
