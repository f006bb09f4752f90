#include "msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTextCodec>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char messageText[1024];

// The bytes of messageText that an argument may take: the rest holds the
// translated sentence around it and the system's error text.
const int argumentBytes = 400;

enum class Kind { Error, Warning };

void formatMessage(bool withErrno, const char *fmt, va_list args)
{
    const int savedErrno = errno;
    messageText[0] = '\0';
    vsnprintf(messageText, sizeof messageText, fmt, args);
    if (withErrno) {
        // One byte less than the room left: a cut suffix leaves the text at 1022 characters.
        const size_t len = strlen(messageText);
        const long room = static_cast<long>(sizeof messageText) - 1 - static_cast<long>(len);
        if (room > 0)
            snprintf(messageText + len, static_cast<size_t>(room), ":\n%s\n", strerror(savedErrno));
    }
}

void showMessage(const char *title, Kind kind, QWidget *parent)
{
    const bool error = kind == Kind::Error;
    QMessageBox box(parent);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(QCoreApplication::translate("QObject", title));
    // Commands and paths must read exactly as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    // Commands, paths and translations are all in the locale's charset
    // (Qt 6 decodes fromLocal8Bit() as UTF-8 whatever the locale says).
    box.setText(QTextCodec::codecForLocale()->toUnicode(messageText));
    box.setIcon(error ? QMessageBox::Critical : QMessageBox::Warning);
    box.setWindowIcon(QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                                : QStyle::SP_MessageBoxWarning));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace

QByteArray shortenedForMessage(const char *text)
{
    const QByteArray whole(text);
    if (whole.size() <= argumentBytes)
        return whole;
    const int savedErrno = errno;
    QTextCodec *codec = QTextCodec::codecForLocale();
    // The decoder keeps a character cut in two to itself.
    QTextDecoder decoder(codec);
    const QString kept = decoder.toUnicode(whole.constData(), argumentBytes);
    const QChar ellipsis(0x2026);
    const QByteArray shortened =
            codec->fromUnicode(kept)
            + (codec->canEncode(ellipsis) ? codec->fromUnicode(ellipsis) : QByteArray("..."));
    errno = savedErrno;
    return shortened;
}

void errDialog(QWidget *parent, int status, const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    formatMessage(true, fmt, args);
    va_end(args);
    showMessage(QT_TRANSLATE_NOOP("QObject", "Error"), Kind::Error, parent);
    exit(status);
}

void errxDialog(QWidget *parent, int status, const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    formatMessage(false, fmt, args);
    va_end(args);
    showMessage(QT_TRANSLATE_NOOP("QObject", "Error"), Kind::Error, parent);
    exit(status);
}

void warnDialog(QWidget *parent, const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    formatMessage(true, fmt, args);
    va_end(args);
    showMessage(QT_TRANSLATE_NOOP("QObject", "Warning"), Kind::Warning, parent);
}

void warnxDialog(QWidget *parent, const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    formatMessage(false, fmt, args);
    va_end(args);
    showMessage(QT_TRANSLATE_NOOP("QObject", "Warning"), Kind::Warning, parent);
}
