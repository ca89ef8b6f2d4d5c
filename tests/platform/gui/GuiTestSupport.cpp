#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

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
