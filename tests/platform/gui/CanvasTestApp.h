#pragma once
// Drawing tests need a Qt application for fonts; the first test that asks makes one (offscreen
// platform under CTest) and it lives until the process ends.

#include <QApplication>

// fontconfig keeps its caches until exit without freeing them (Qt never calls FcFini); the leak
// checker would report that system library on every run that draws text.
extern "C" inline __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

inline void EnsureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    // Headless unless a display was asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "platform_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}
