// Modal message boxes in the manner of err(3), errx(3), warn(3) and warnx(3),
// so that a user who started the program from a menu sees why it failed.
#pragma once

#include <QByteArray>

class QWidget;

// Shows an error box with the message and the system's text for errno, then exits.
[[noreturn]] void errDialog(QWidget *parent, int status, const char *fmt, ...)
        __attribute__((format(printf, 3, 4)));
// Shows an error box with the message alone, then exits.
[[noreturn]] void errxDialog(QWidget *parent, int status, const char *fmt, ...)
        __attribute__((format(printf, 3, 4)));
// Shows a warning box with the message and the system's text for errno.
void warnDialog(QWidget *parent, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
// Shows a warning box with the message alone.
void warnxDialog(QWidget *parent, const char *fmt, ...) __attribute__((format(printf, 2, 3)));

// A text to stand inside a message, such as a command or a path, in the
// locale's 8-bit charset like the message itself: one too long to leave room
// for what the message says after it is cut to its first characters and an
// ellipsis. Leaves errno alone, for errDialog() to report.
QByteArray shortenedForMessage(const char *text);
