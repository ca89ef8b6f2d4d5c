#pragma once
// A terminal on a shown form, with every event it raises recorded, and synthetic input.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/gui/Application.h"
#include "terminal/control/Terminal.h"

TApplication* TestApplication();

class TTerminalFixture {
public:
    TTerminalFixture();
    ~TTerminalFixture();

    QWidget* W() { return term->Handle(); }
    // Mouse at a client point; buttons held as given.
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void MoveTo(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }
    void Drag(int x0, int y0, int x1, int y1);
    void Key(int key, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Cell centre of a column and screen row.
    int X(int col) const { return col * 8 + 4; }
    int Y(int row) const { return row * 16 + 8; }
    // Feeds lines until the screen has scrolled so that there is scroll-back.
    void FillScrollBack(int lines);
    std::string Log() const;

    TForm* form = nullptr;
    TTerminal* term = nullptr;
    std::vector<std::string> events;
    AnsiString afterPut, putChars;
    std::vector<AnsiString> putStrings, blocks, lines, notices;
};
