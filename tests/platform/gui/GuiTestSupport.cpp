#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <memory>

#include "platform/gui/ButtonCtrls.h"
#include "tests/TempName.h"
#include "tools/picture/PictureDifference.h"

TApplication* TestApplication()
{
    // Headless unless a display was chosen on purpose (the screenshot run under Xvfb).
    if (!QCoreApplication::instance() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "platform_gui_tests";
    static char* argv[] = {name, nullptr};
    static TApplication* app = new TApplication(argc, argv);
    return app;
}

namespace {

// Every test of the program runs with the application already made.
class TApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApplication(); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

}  // namespace

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
{
    QPointF local(pos);
    QPointF global(w->mapToGlobal(pos));
    QMouseEvent e(type, local, local, global, button, buttons, modifiers);
    QCoreApplication::sendEvent(w, &e);
}

void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent e(type, key, modifiers, text);
    QCoreApplication::sendEvent(w, &e);
}

void TypeKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    SendKey(w, QEvent::KeyPress, key, modifiers, text);
    SendKey(w, QEvent::KeyRelease, key, modifiers, text);
}

bool OnX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void Settle(int rounds)
{
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void ShowOnScreen(TForm& form)
{
    // No blinking caret in the picture.
    QApplication::setCursorFlashTime(0);
    form.Show();
    QWidget* w = form.Handle();
    EXPECT_TRUE(WaitUntil([w] { return Exposed(w); }, "the form on the screen"));
}

namespace {

// The form's client area as the X server has it now.
QImage GrabClient(TForm& form)
{
    QWidget* w = form.Handle();
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    return w->screen()->grabWindow(0, origin.x(), origin.y(), form.ClientWidth(), form.ClientHeight()).toImage();
}

}  // namespace

QImage Shoot(TForm& form)
{
    ShowOnScreen(form);
    Settle(20);
    return GrabClient(form);
}

namespace {

// Checks what `grab` reads against the golden picture, reading again until it matches or
// deadlineMs have passed (0: one read).
void ExpectGrabbed(const std::function<QImage()>& grab, const std::string& folder, const std::string& name,
                   int deadlineMs)
{
    const std::string golden = std::string(HM_SOURCE_DIR) + "/" + folder + "/" + name + ".png";
    if (qEnvironmentVariableIsSet("HM_UPDATE_GOLDEN")) {
        // Nothing tells when the screen's painting is over: a second of the loop, then the picture.
        if (deadlineMs > 0)
            RunLoopFor(1000);
        ASSERT_TRUE(grab().convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(golden)));
        return;
    }
    QImage expected(QString::fromStdString(golden));
    ASSERT_FALSE(expected.isNull()) << golden;
    expected = expected.convertToFormat(QImage::Format_RGB32);
    QImage shot;
    double difference = 1.0;
    const bool matched = LoopUntil(
        [&] {
            shot = grab().convertToFormat(QImage::Format_RGB32);
            difference = PictureDifference(shot, expected);
            return difference < 0.005;
        },
        deadlineMs);
    if (matched)
        return;
    const QString kept = QString::fromStdString(KeptTempFile("hanmud-" + name + "-actual", "png"));
    shot.save(kept);
    ADD_FAILURE() << name << ": the picture differs on " << difference * 100 << "% of the pixels"
                  << (deadlineMs > 0 ? " in the last read of the screen" : "") << " (kept as " << kept.toStdString()
                  << ")";
}

}  // namespace

void ExpectPicture(const QImage& picture, const std::string& folder, const std::string& name)
{
    ExpectGrabbed([&picture] { return picture; }, folder, name, 0);
}

void ExpectScreenshot(TForm& form, const std::string& folder, const std::string& name)
{
    ShowOnScreen(form);
    ExpectGrabbed([&form] { return GrabClient(form); }, folder, name, kXDeadlineMs);
}

void ExpectScreenRect(int left, int top, int width, int height, const std::string& folder, const std::string& name)
{
    ExpectGrabbed([=] { return QGuiApplication::primaryScreen()->grabWindow(0, left, top, width, height).toImage(); },
                  folder, name, kXDeadlineMs);
}

namespace {

// TypeWhenShown's steps, one timer tick at a time while the test's own loop runs.
struct TTyping {
    std::function<QWidget*()> ready;
    QString commands;
    std::function<void(QWidget*)> then;
    QPointer<QWidget> widget;
    QElapsedTimer clock;
    bool typed = false;
};

// Closes what the test is waiting on, so that the loop it runs ends and the test can fail.
void GiveUp(TTyping& t, const std::string& what)
{
    ADD_FAILURE() << what << ": never came within " << kXDeadlineMs / 1000 << " s";
    if (QWidget* w = t.widget ? t.widget.data() : t.ready())
        w->close();
}

void TypeStep(std::shared_ptr<TTyping> t)
{
    const bool late = t->clock.elapsed() >= kXDeadlineMs;
    if (t->typed) {
        // The keys should end what showed the widget; if it stays, they were lost.
        if (!t->widget || !t->widget->isVisible())
            return;
        if (late)
            return GiveUp(*t, "the end of the window after the keys " + t->commands.toStdString());
    } else if (!t->widget) {
        QWidget* w = t->ready();
        if (w && Exposed(w)) {
            t->widget = w;
            w->activateWindow();
            t->clock.restart();
        } else if (late) {
            return GiveUp(*t, "the window awaiting the keys " + t->commands.toStdString());
        }
    } else if (QGuiApplication::focusWindow() == t->widget->windowHandle()) {
        // The X server sends keys to the window that has its focus: only now may they go.
        if (t->then)
            t->then(t->widget);
        QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), t->commands});
        t->typed = true;
        t->clock.restart();
    } else if (late) {
        return GiveUp(*t, "the focus in the window awaiting the keys " + t->commands.toStdString());
    }
    QTimer::singleShot(20, [t] { TypeStep(t); });
}

}  // namespace

void TypeWhenShown(std::function<QWidget*()> ready, const char* commands, std::function<void(QWidget*)> then)
{
    auto t = std::make_shared<TTyping>();
    t->ready = std::move(ready);
    t->commands = QString::fromLatin1(commands);
    t->then = std::move(then);
    t->clock.start();
    QTimer::singleShot(20, [t] { TypeStep(t); });
}

QByteArray RunServed(const QString& program, const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(kXDeadlineMs)) {
        ADD_FAILURE() << program.toStdString() << " did not start (scripts/setup.sh installs it)";
        return {};
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    // The program may ask this process for the clipboard: the loop runs until it ends.
    if (!LoopUntil([&process] { return process.state() == QProcess::NotRunning; })) {
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString() << ": its end never came within "
                      << kXDeadlineMs / 1000 << " s";
        process.kill();
        process.waitForFinished(5000);
    }
    return process.readAllStandardOutput();
}

TRealDialogs::TRealDialogs() : FOld(std::getenv("HM_TEST") ? std::getenv("HM_TEST") : "") { unsetenv("HM_TEST"); }

TRealDialogs::~TRealDialogs() { setenv("HM_TEST", FOld.c_str(), 1); }

int ClicksOfAButtonClickedOnce(TForm& form)
{
    auto* button = Place<TButton>(form, 10, 100, 80, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    SendMouse(button->Handle(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    SendMouse(button->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    button->OnClick = nullptr;
    return clicks;
}

const char* AlignName(TAlign align)
{
    switch (align) {
    case alTop: return "top";
    case alBottom: return "bottom";
    case alLeft: return "left";
    case alRight: return "right";
    case alClient: return "client";
    case alNone: return "none";
    }
    return "?";
}
