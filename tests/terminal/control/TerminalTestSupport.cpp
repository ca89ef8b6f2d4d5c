#include "TerminalTestSupport.h"

#include <QCoreApplication>

TApplication* TestApplication()
{
    if (!QCoreApplication::instance() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "terminal_control_tests";
    static char* argv[] = {name, nullptr};
    static TApplication* app = new TApplication(argc, argv);
    return app;
}

TTerminalFixture::TTerminalFixture()
{
    TestApplication();
    SetTerminalNoticeHook(
        [this](const AnsiString& text, int ms) { notices.push_back(text + "/" + std::to_string(ms)); });
    form = new TForm(nullptr);
    form->SetBounds(0, 0, 700, 450);
    term = new TTerminal(form);
    term->SetParent(form);
    term->SetBounds(0, 0, 640 + TScrollBarModel::kWidth, 400);
    term->SetHanMode(true);
    term->OnAfterPut = [this](TObject*, const AnsiString& d) { afterPut += d; };
    term->OnPutChar = [this](TObject*, char c) {
        putChars += c;
        events.push_back("putchar");
    };
    term->OnPutString = [this](TObject*, const AnsiString& s) {
        putStrings.push_back(s);
        events.push_back("putstring");
    };
    term->OnBlock = [this](TObject*, const AnsiString& s) {
        blocks.push_back(s);
        events.push_back("block");
    };
    term->OnLine = [this](TObject*, const AnsiString& s) { lines.push_back(s); };
    term->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
    term->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
        events.push_back("keydown " + std::to_string(key));
    };
    term->OnTabKeyPress = [this](TObject*) { events.push_back("tab"); };
    term->OnPopupNormal = [this](int, int) { events.push_back("popupnormal"); };
    term->OnPopupBlock = [this](int, int) { events.push_back("popupblock"); };
    term->OnPopupSmart = [this](int, int, const AnsiString& s) { events.push_back("popupsmart " + s); };
    term->OnEnter = [this](TObject*) { events.push_back("enter"); };
    form->Show();
    // Offscreen windows are not activated on their own; focus needs an active window.
    form->Handle()->activateWindow();
    QCoreApplication::processEvents();
}

TTerminalFixture::~TTerminalFixture()
{
    delete form;
    SetTerminalNoticeHook(nullptr);
}

void TTerminalFixture::Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers mods)
{
    QWidget* w = W();
    QPointF local(x, y);
    QPointF global(w->mapToGlobal(QPoint(x, y)));
    QMouseEvent e(type, local, local, global, button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}

void TTerminalFixture::Click(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    Mouse(QEvent::MouseButtonPress, x, y, button, button, mods);
    Mouse(QEvent::MouseButtonRelease, x, y, button, Qt::NoButton, mods);
}

void TTerminalFixture::Drag(int x0, int y0, int x1, int y1)
{
    Mouse(QEvent::MouseButtonPress, x0, y0, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, x1, y1, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, x1, y1, Qt::LeftButton, Qt::NoButton);
}

void TTerminalFixture::Key(int key, const QString& text, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(W(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(W(), &release);
}

void TTerminalFixture::FillScrollBack(int lines)
{
    AnsiString text;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    term->DecodeText(text);
}

std::string TTerminalFixture::Log() const
{
    std::string out;
    for (const std::string& e : events)
        out += e + ";";
    return out;
}
