#pragma once
// Shared by the GUI tests: one application object for the whole test program, and helpers that
// send synthetic Qt input to a control's widget.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/Application.h"

// The application (made before the first test; offscreen unless QT_QPA_PLATFORM names a platform).
TApplication* TestApplication();

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString());
// Press then release.
void TypeKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString());
