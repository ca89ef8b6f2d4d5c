// 10,000 key presses into a TComboEdit on a form with key preview, offscreen, with handlers like
// the character window's (the form looks at every key down and press, Enter sends and clears the
// line, the edit's own handlers watch for the history keys): letters and digits as key events,
// every fifth a Hangul syllable committed by the input method, Enter every 60. In the same run a
// bare QLineEdit takes the same events. Prints METRIC lines: microseconds a key for each.

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "controls/lib/ToolEdit.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Application.h"

namespace {

constexpr int kKeys = 10000, kLine = 60;

void Metric(const char* name, double value) { std::printf("METRIC %s %.6g\n", name, value); }

// One typed unit: a key with its text, a committed syllable, or Enter.
void Send(QWidget* w, int i, const std::function<void()>& enter)
{
    if (i % kLine == kLine - 1) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(w, &release);
        if (enter)
            enter();
        return;
    }
    if (i % 5 == 4) {
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(QString(QChar(0xD55C + (i % 7))));  // 한 and its neighbours
        QCoreApplication::sendEvent(w, &commit);
        return;
    }
    const char ch = "abcdefghijklmnopqrstuvwxyz0123456789"[i % 36];
    const int key = ch >= 'a' ? Qt::Key_A + (ch - 'a') : Qt::Key_0 + (ch - '0');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(ch)));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(ch)));
    QCoreApplication::sendEvent(w, &release);
}

double MicrosPerKey(QWidget* w, const std::function<void()>& enter)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeys; ++i)
        Send(w, i, enter);
    QCoreApplication::processEvents();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / kKeys;
}

// The character window's habits: the form previews every key (macros, the extended-key mark),
// Enter takes the line and clears it, Up and Down are the history's.
class TCommandForm : public TForm {
public:
    explicit TCommandForm(TComponent* AOwner) : TForm(AOwner)
    {
        SetKeyPreview(true);
        SetBounds(0, 0, 640, 80);
        Line = new TComboEdit(this);
        Line->SetBounds(0, 50, 640, 21);
        Line->SetParent(this);
        Line->SetButtonHint("\xC1\xF6\xB3\xAD\xC0\xD4\xB7\xC2\xB1\xDB\xBA\xB8\xB1\xE2");  // 지난입력글보기
        Line->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
            if (key == VK_UP || key == VK_DOWN)
                ++History;
        };
        Line->OnKeyPress = [this](TObject*, char& key) {
            if (key == '\r') {
                Sent += Line->Text().size();
                Line->SetText(AnsiString());
                key = 0;
            }
        };
    }
    TComboEdit* Line;
    size_t Sent = 0;
    int History = 0;
    int Previewed = 0;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        ++Previewed;
        TForm::KeyDown(Key, Shift);
    }
    void KeyPress(char& Key) override
    {
        ++Previewed;
        TForm::KeyPress(Key);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    TCommandForm form(nullptr);
    form.Show();
    form.Line->SetFocus();
    QCoreApplication::processEvents();
    const double combo = MicrosPerKey(form.Line->Handle(), nullptr);

    QLineEdit bare;
    bare.resize(640, 21);
    bare.show();
    QCoreApplication::processEvents();
    size_t bareSent = 0;
    const double qt = MicrosPerKey(&bare, [&] {
        bareSent += static_cast<size_t>(bare.text().size());
        bare.clear();
    });

    Metric("comboedit_us_per_key", combo);
    Metric("qlineedit_us_per_key", qt);
    Metric("comboedit_vs_qlineedit", qt > 0 ? combo / qt : 0);
    std::printf("# %zu bytes sent by the command line, %zu characters by the bare edit, %d keys previewed\n", form.Sent,
                bareSent, form.Previewed);
    return 0;
}
