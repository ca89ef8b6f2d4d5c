#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Forms.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/WinControl.h"

using Log = std::vector<std::string>;

namespace {

// A control wrapping a Qt line edit: the edit's own key handling is the default action.
class TTestEdit : public TWinControl {
public:
    using TWinControl::TWinControl;
    QLineEdit* Edit() { return static_cast<QLineEdit*>(Handle()); }

protected:
    QWidget* CreateWidget() override { return new TWidgetAdapter<QLineEdit>(this); }
};

class KeyPhases : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 100);
        edit = new TTestEdit(form);
        edit->SetBounds(0, 0, 200, 24);
        edit->SetParent(form);
        form->Show();
        ew = edit->Edit();
        auto logKeyDown = [this](const char* who) {
            return [this, who](TObject*, uint16_t& key, TShiftState) {
                log.push_back(std::string(who) + " down " + std::to_string(key));
                if (key == formEats)
                    key = 0;
            };
        };
        form->OnKeyDown = logKeyDown("form");
        edit->OnKeyDown = logKeyDown("edit");
        form->OnKeyPress = [this](TObject*, char& key) {
            log.push_back("form press " + std::to_string(static_cast<unsigned char>(key)));
            if (key == pressEats)
                key = 0;
        };
        edit->OnKeyPress = [this](TObject*, char& key) {
            log.push_back("edit press " + std::to_string(static_cast<unsigned char>(key)));
        };
        edit->OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) {
            log.push_back("edit up " + std::to_string(key));
        };
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
    TTestEdit* edit = nullptr;
    QLineEdit* ew = nullptr;
    std::vector<std::string> log;
    uint16_t formEats = 0xFFFF;
    char pressEats = 1;
};

}  // namespace

TEST_F(KeyPhases, KeyDownThenKeyPressThenTheEditTypes)
{
    TypeKey(ew, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(log, (Log{"edit down 65", "edit press 97", "edit up 65"}));
    EXPECT_EQ(ew->text(), "a");
}

TEST_F(KeyPhases, KeyPreviewRunsTheFormsHandlersFirst)
{
    form->SetKeyPreview(true);
    TypeKey(ew, Qt::Key_B, Qt::ShiftModifier, "B");
    EXPECT_EQ(log, (Log{"form down 66", "edit down 66", "form press 66", "edit press 66", "edit up 66"}));
}

TEST_F(KeyPhases, ZeroInKeyDownStopsTheKeysActionButNotItsCharacter)
{
    form->SetKeyPreview(true);
    ew->setText("xy");
    ew->setCursorPosition(2);
    formEats = VK_LEFT;
    TypeKey(ew, Qt::Key_Left);
    EXPECT_EQ(ew->cursorPosition(), 2);  // the cursor did not move
    formEats = 'Z';
    TypeKey(ew, Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(ew->text(), "xyz");  // typed all the same
    EXPECT_EQ(log,
              (Log{"form down 37", "edit up 37", "form down 90", "form press 122", "edit press 122", "edit up 90"}));
}

TEST_F(KeyPhases, ZeroInKeyPressTypesNothing)
{
    form->SetKeyPreview(true);
    pressEats = 'q';
    TypeKey(ew, Qt::Key_Q, Qt::NoModifier, "q");
    EXPECT_EQ(ew->text(), "");
    EXPECT_EQ(log, (Log{"form down 81", "edit down 81", "form press 113", "edit up 81"}));
}

TEST_F(KeyPhases, KeyPressMayReplaceTheCharacter)
{
    edit->OnKeyPress = [](TObject*, char& key) { key = static_cast<char>(toupper(key)); };
    TypeKey(ew, Qt::Key_K, Qt::NoModifier, "k");
    EXPECT_EQ(ew->text(), "K");
}

TEST_F(KeyPhases, ApplicationHookHandlingAKeyStopsEveryPhase)
{
    TestApplication()->OnMessage = [](TMsg& m, bool& handled) { handled = m.message == WM_KEYDOWN && m.wParam == 'X'; };
    TypeKey(ew, Qt::Key_X, Qt::NoModifier, "x");
    TestApplication()->OnMessage = nullptr;
    EXPECT_EQ(log, (Log{"edit up 88"}));
    EXPECT_EQ(ew->text(), "");
}

TEST_F(KeyPhases, HookSeesTheExtendedBitOfGreyKeysOnly)
{
    std::vector<bool> extended;
    TestApplication()->OnMessage = [&](TMsg& m, bool&) {
        if (m.message == WM_KEYDOWN)
            extended.push_back(m.lParam & KF_EXTENDED_BIT);
    };
    TypeKey(ew, Qt::Key_PageUp);                      // grey PageUp
    TypeKey(ew, Qt::Key_PageUp, Qt::KeypadModifier);  // keypad 9 without NumLock
    TypeKey(ew, Qt::Key_Enter, Qt::KeypadModifier);   // keypad Enter
    TypeKey(ew, Qt::Key_Return);
    TestApplication()->OnMessage = nullptr;
    EXPECT_EQ(extended, (std::vector<bool>{true, false, true, false}));
}

TEST_F(KeyPhases, HangulFromTheInputMethodArrivesAsTwoKeyPressBytes)
{
    QInputMethodEvent e;
    e.setCommitString(QString::fromUtf8("\xED\x95\x9C"));  // 한, cp949 C7 D1
    QCoreApplication::sendEvent(ew, &e);
    EXPECT_EQ(log, (Log{"edit press 199", "edit press 209"}));
    EXPECT_EQ(ew->text(), QString::fromUtf8("\xED\x95\x9C"));
}

TEST_F(KeyPhases, SuppressingEitherByteOfAPairDropsTheWholeCharacter)
{
    edit->OnKeyPress = [](TObject*, char& key) {
        if (static_cast<unsigned char>(key) == 0xD1)
            key = 0;
    };
    QInputMethodEvent e;
    e.setCommitString(QString::fromUtf8("a\xED\x95\x9C"
                                        "b"));
    QCoreApplication::sendEvent(ew, &e);
    EXPECT_EQ(ew->text(), "ab");
}

TEST_F(KeyPhases, TabMovesTheFocusWithoutReachingKeyDown)
{
    auto* second = new TTestEdit(form);
    second->SetBounds(0, 30, 200, 24);
    second->SetParent(form);
    edit->SetTabStop(true);
    second->SetTabStop(true);
    form->FocusControl(edit);
    TypeKey(ew, Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_EQ(form->ActiveControl(), second);
    for (const std::string& s : log)
        EXPECT_EQ(s.find("down 9"), std::string::npos) << s;
}

TEST(KeyBridge, VirtualKeysFollowWindowsForKeypadLettersAndSymbols)
{
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_5, Qt::NoModifier), '5');
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_5, Qt::KeypadModifier), VK_NUMPAD0 + 5);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Plus, Qt::KeypadModifier), VK_ADD);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Up, Qt::KeypadModifier), VK_UP);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Exclam, Qt::ShiftModifier), '1');
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Colon, Qt::ShiftModifier), VK_OEM_1);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F12, Qt::NoModifier), VK_F1 + 11);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Hangul, Qt::NoModifier), VK_HANGUL);

    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Down, Qt::AltModifier);
    TKeyStroke s = TranslateKeyEvent(altDown);
    EXPECT_EQ(s.Key, VK_DOWN);
    EXPECT_EQ(ShortCut(s.Key, s.Shift), 0x8028);
    EXPECT_TRUE(s.KeyData & KF_ALTDOWN_BIT);
    EXPECT_EQ((s.KeyData >> 16) & 0xFF, 0x50);

    unsigned scan = 0;
    bool ext = false;
    ASSERT_TRUE(LinuxKeyToScanCode(103, scan, ext));  // the grey Up key
    EXPECT_EQ(scan, 0x48u);
    EXPECT_TRUE(ext);
    ASSERT_TRUE(LinuxKeyToScanCode(72, scan, ext));  // keypad 8
    EXPECT_EQ(scan, 0x48u);
    EXPECT_FALSE(ext);
}

TEST_F(KeyPhases, AltKeysAreSystemKeysThatTypeNothing)
{
    std::vector<unsigned> messages;
    std::vector<bool> extended;
    TestApplication()->OnMessage = [&](TMsg& m, bool&) {
        messages.push_back(m.message);
        extended.push_back(m.lParam & KF_EXTENDED_BIT);
    };
    TypeKey(ew, Qt::Key_Down, Qt::AltModifier);
    TypeKey(ew, Qt::Key_X, Qt::AltModifier, "x");
    TestApplication()->OnMessage = nullptr;
    EXPECT_EQ(messages, (std::vector<unsigned>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}));
    EXPECT_TRUE(extended[0]);
    // KeyDown still runs (an Alt+Down shortcut is seen by the control); no KeyPress.
    EXPECT_EQ(log, (Log{"edit down 40", "edit up 40", "edit down 88", "edit up 88"}));
    EXPECT_EQ(ew->text(), "");
}
