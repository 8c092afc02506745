#pragma once

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

// Events delivered to a widget as the toolkit delivers them, one call each.

inline void SendEnter(QWidget &widget, QPoint at = {5, 5})
{
    QEnterEvent event(at, widget.mapToGlobal(at), widget.mapToGlobal(at));
    QCoreApplication::sendEvent(&widget, &event);
}

inline void SendLeave(QWidget &widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

// A press, move or release at `at`; `held` are the buttons down after the event.
inline void SendMouse(QWidget &widget, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons held = {})
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

inline bool SendKey(QWidget &widget, QEvent::Type type, int key,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QCoreApplication::sendEvent(&widget, &event);
    return event.isAccepted();
}

inline void SendFocus(QWidget &widget, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&widget, &event);
}
