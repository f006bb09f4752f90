#include "internal.h"

#include <err.h>
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

ConfError conf_last_error;

static char messageBuffer[2048];

struct ErrorMessage
{
    int code;
    const char *message;
};

static const ErrorMessage errorMessages[] = {
        {CONF_ERR_FATAL, "Fatal error"},
        {CONF_ERR_ESCAPE, "Incomplete escape sequence"},
        {CONF_ERR_QUOTE, "Unterminated quoted string"},
        {CONF_ERR_NO_EQUALS, "Missing '='"},
        {CONF_ERR_NO_VALUE, "Missing value"},
        {CONF_ERR_UNKNOWN_VAR, "Unknown variable"},
        {CONF_ERR_PATH_TOO_LONG, "Path name too long"},
        {CONF_ERR_DUP_SECTION, "Duplicated config file section"},
};

/* The row of errorMessages for a code, or -1 for a code the table lacks. */
static int messageRow(int code)
{
    if (code == CONF_ERR_FATAL)
        return 0;
    if (code >= CONF_ERR_ESCAPE && code <= CONF_ERR_UNKNOWN_VAR)
        return 1 + code - CONF_ERR_ESCAPE;
    if (code == CONF_ERR_PATH_TOO_LONG)
        return 6;
    if (code == CONF_ERR_DUP_SECTION)
        return 7;
    return -1;
}

static bool isSyntaxError(int code)
{
    return code >= CONF_ERR_ESCAPE && code <= CONF_ERR_UNKNOWN_VAR;
}

static const char *leadText(const ConfError &error)
{
    if (error.code == CONF_ERR_FATAL)
        return error.saved_errno == ENOENT ? "" : "Fatal: ";
    return isSyntaxError(error.code) ? "Syntax error: " : "";
}

void conf_set_error(int code, const char *fmt, ...)
{
    const int savedErrno = errno;
    conf_last_error.file = conf_path_buffer();
    conf_last_error.line = conf_current_line();
    conf_last_error.saved_errno = savedErrno;
    conf_last_error.code = code;
    conf_last_error.prefix[0] = '\0';
    if (fmt) {
        va_list args;
        va_start(args, fmt);
        vsnprintf(conf_last_error.prefix, sizeof conf_last_error.prefix, fmt, args);
        va_end(args);
    }
    errno = savedErrno;
}

/* Appends to the message buffer, never past its 2046th character. */
static void appendMessage(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

static void appendMessage(const char *fmt, ...)
{
    const size_t used = strlen(messageBuffer);
    const size_t bound = sizeof messageBuffer - 1 - used;
    if (bound == 0)
        return;
    va_list args;
    va_start(args, fmt);
    vsnprintf(messageBuffer + used, bound, fmt, args);
    va_end(args);
}

const char *conf_error_text(void)
{
    const ConfError &error = conf_last_error;
    messageBuffer[0] = '\0';
    if (error.code == CONF_ERR_NONE)
        return messageBuffer;
    const int row = messageRow(error.code);
    if (row < 0) {
        appendMessage("Unknown error code");
        return messageBuffer;
    }
    appendMessage("%s", leadText(error));
    if (error.prefix[0])
        appendMessage("%s: ", error.prefix);
    appendMessage("%s", errorMessages[row].message);
    if (error.code == CONF_ERR_FATAL)
        appendMessage(": %s\n", strerror(error.saved_errno));
    else if (error.line > 0)
        appendMessage(", in file %s, line %d\n", error.file, error.line);
    else
        appendMessage("\n");
    errno = error.saved_errno;
    return messageBuffer;
}

void conf_print_error(void)
{
    const ConfError &error = conf_last_error;
    if (error.code == CONF_ERR_NONE)
        return;
    const int row = messageRow(error.code);
    if (row < 0) {
        warnx("Unknown error code");
    } else {
        fputs(leadText(error), stderr);
        if (error.prefix[0])
            fprintf(stderr, "%s: ", error.prefix);
        fputs(errorMessages[row].message, stderr);
        if (error.code == CONF_ERR_FATAL)
            fprintf(stderr, ": %s\n", strerror(error.saved_errno));
        else if (error.line > 0)
            fprintf(stderr, ", in file %s, line %d\n", error.file, error.line);
        else
            fputs("\n", stderr);
    }
    errno = error.saved_errno;
}

void conf_clear_error(void)
{
    conf_last_error.code = CONF_ERR_NONE;
    conf_last_error.saved_errno = -1;
}
