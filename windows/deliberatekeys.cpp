#include "deliberatekeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

const Qt::KeyboardModifiers shortcutModifiers =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool isPressingKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space
           || key == Qt::Key_Select;
}

bool isBare(const QKeyEvent *event)
{
    Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_Enter)
        modifiers &= ~Qt::KeypadModifier;
    return modifiers == Qt::NoModifier;
}

} // namespace

bool isDeliberateLetter(const QKeyEvent *event)
{
    return !(event->modifiers() & shortcutModifiers);
}

DeliberateKeys::DeliberateKeys(QObject *parent) : QObject(parent) { }

bool DeliberateKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (isBare(key) || !watched->isWidgetType())
        return false;
    if (key->key() == Qt::Key_Escape) {
        // Handed on bare, so that each window does with it what it does with Escape.
        QKeyEvent bare(key->type(), Qt::Key_Escape, Qt::NoModifier, key->text());
        QCoreApplication::sendEvent(watched, &bare);
        return true;
    }
    return isPressingKey(key->key());
}
