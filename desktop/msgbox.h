// Modal message boxes in the manner of err(3), errx(3), warn(3) and warnx(3),
// so that a user who started the program from a menu sees why it failed.
#pragma once

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
