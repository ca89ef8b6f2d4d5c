#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

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

QImage Shoot(TForm& form)
{
    // No blinking caret in the picture.
    QApplication::setCursorFlashTime(0);
    form.Show();
    QWidget* w = form.Handle();
    QElapsedTimer wait;
    wait.start();
    while ((!w->windowHandle() || !w->windowHandle()->isExposed()) && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Settle(20);
    QPoint origin = w->mapToGlobal(QPoint(0, 0));
    return w->screen()->grabWindow(0, origin.x(), origin.y(), form.ClientWidth(), form.ClientHeight()).toImage();
}

namespace {

// Pixels whose channels differ by more than a little (font smoothing), as a share of all.
double Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 32 || std::abs(qGreen(p) - qGreen(q)) > 32 ||
                std::abs(qBlue(p) - qBlue(q)) > 32)
                ++differing;
        }
    return static_cast<double>(differing) / (a.width() * a.height());
}

}  // namespace

void ExpectPicture(const QImage& picture, const std::string& folder, const std::string& name)
{
    const QImage shot = picture.convertToFormat(QImage::Format_RGB32);
    const std::string golden = std::string(HM_SOURCE_DIR) + "/" + folder + "/" + name + ".png";
    if (qEnvironmentVariableIsSet("HM_UPDATE_GOLDEN")) {
        ASSERT_TRUE(shot.save(QString::fromStdString(golden)));
        return;
    }
    QImage expected(QString::fromStdString(golden));
    ASSERT_FALSE(expected.isNull()) << golden;
    EXPECT_LT(Difference(shot, expected.convertToFormat(QImage::Format_RGB32)), 0.005) << name;
}

void ExpectScreenshot(TForm& form, const std::string& folder, const std::string& name)
{
    ExpectPicture(Shoot(form), folder, name);
}

void ExpectScreenRect(int left, int top, int width, int height, const std::string& folder, const std::string& name)
{
    Settle(20);
    ExpectPicture(QGuiApplication::primaryScreen()->grabWindow(0, left, top, width, height).toImage(), folder, name);
}

void TypeWhenShown(std::function<QWidget*()> ready, const char* commands, std::function<void(QWidget*)> then)
{
    QTimer::singleShot(20, [ready, commands, then] {
        QWidget* w = ready();
        if (!w || !w->isVisible()) {
            TypeWhenShown(ready, commands, then);
            return;
        }
        w->activateWindow();
        if (then)
            then(w);
        QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(commands)});
    });
}

TRealDialogs::TRealDialogs() : FOld(std::getenv("HM_TEST") ? std::getenv("HM_TEST") : "") { unsetenv("HM_TEST"); }

TRealDialogs::~TRealDialogs() { setenv("HM_TEST", FOld.c_str(), 1); }
