// Which keys the user meant for the program's dialogs.
#pragma once

#include <QObject>

class QKeyEvent;

// Whether a letter was typed as a letter: with Shift or Caps Lock at most, not
// as someone's shortcut with Control, Alt or Super.
bool isDeliberateLetter(const QKeyEvent *event);

// Return, Enter and Space press the focused or default button in a dialog, as
// Qt handles them even with modifiers. The screen is dark while the program's
// dialogs are up, and a window manager's shortcut typed then (Alt+Return,
// Super+Return for a terminal) reaches them as a chord: such a chord is
// swallowed, so that only the bare key presses a button (Enter may come with
// the keypad's own modifier). Escape does what it does in each window with
// any modifiers too, as it only ever cancels; every other key is left alone.
//
// Installed on the application, as the keys go to whichever widget has the
// focus.
class DeliberateKeys : public QObject
{
    Q_OBJECT

public:
    explicit DeliberateKeys(QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;
};
