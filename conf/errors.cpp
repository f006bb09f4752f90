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

/* The message of a code, or null for a code the table lacks. */
static const char *messageFor(int code)
{
    for (const ErrorMessage &row : errorMessages)
        if (row.code == code)
            return row.message;
    return nullptr;
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
    const char *message = messageFor(error.code);
    if (!message) {
        appendMessage("Unknown error code");
        return messageBuffer;
    }
    appendMessage("%s", leadText(error));
    if (error.prefix[0])
        appendMessage("%s: ", error.prefix);
    appendMessage("%s", message);
    if (error.code == CONF_ERR_FATAL)
        appendMessage(": %s\n", strerror(error.saved_errno));
    else if (error.line > 0)
        appendMessage(", in file %s, line %d\n", error.file, error.line);
    else
        appendMessage("\n");
    errno = error.saved_errno;
    return messageBuffer;
}

/*
 * Prints what conf_error_text() composes. Its bound never cuts a real
 * message: prefix, path and texts together stay well below it.
 */
void conf_print_error(void)
{
    const ConfError &error = conf_last_error;
    if (error.code == CONF_ERR_NONE)
        return;
    const char *text = conf_error_text();
    if (messageFor(error.code))
        fputs(text, stderr);
    else
        warnx("%s", text);
    errno = error.saved_errno;
}

void conf_clear_error(void)
{
    conf_last_error.code = CONF_ERR_NONE;
    conf_last_error.saved_errno = -1;
}
