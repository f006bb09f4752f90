#include "internal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static bool failWith(const char *call)
{
    conf_set_error(CONF_ERR_FATAL, "%s", call);
    return false;
}

/* Records why a list cannot be saved so that it reads back the same. */
static bool refuse(const char *what, const char *name)
{
    errno = EINVAL;
    conf_set_error(CONF_ERR_FATAL, "%s '%s'", what, name);
    return false;
}

/*
 * A section name reads back only as a header line: not empty, starting in the
 * first column and not as a comment, with no ':' of its own and on one line.
 */
static bool isWritableSectionName(const char *name)
{
    return name[0] && !conf_is_space(static_cast<unsigned char>(name[0])) && name[0] != '#'
           && !strpbrk(name, ":\n");
}

/* Strings are written quoted, so only a line break splits what must stay one line. */
static bool isWritableValue(const ConfVar *var)
{
    if (var->type == CONF_STRING)
        return !var->value.string || !strchr(var->value.string, '\n');
    if (var->type == CONF_STRINGLIST)
        for (char **item = var->value.list; item && *item; ++item)
            if (strchr(*item, '\n'))
                return false;
    return true;
}

static bool checkReadsBack(const ConfSection *sections)
{
    for (const ConfSection *section = sections; section; section = section->next) {
        if (!section->name && section != sections)
            return refuse("Global section", "not first");
        if (section->name && !isWritableSectionName(section->name))
            return refuse("Section", section->name);
        for (int i = 0; i < section->count; ++i) {
            const ConfVar *var = &section->vars[i];
            if (var->name && !isWritableValue(var))
                return refuse("Variable", var->name);
        }
    }
    return true;
}

static bool writeText(FILE *stream, const char *text)
{
    const size_t length = strlen(text);
    return length == 0 || fwrite(text, 1, length, stream) == length || failWith("fwrite()");
}

/*
 * A string in double quotes. Besides the quote and the backslash, '#' is
 * escaped too: unescaped, a value such as "a:#" would make its line look
 * like a section header.
 */
static bool writeQuoted(FILE *stream, const char *text)
{
    char *escaped = static_cast<char *>(malloc(2 * strlen(text) + 1));
    if (!escaped)
        return failWith("malloc()");
    char *out = escaped;
    for (; *text; ++text) {
        if (*text == '"' || *text == '\\' || *text == '#')
            *out++ = '\\';
        *out++ = *text;
    }
    *out = '\0';
    const bool written =
            writeText(stream, "\"") && writeText(stream, escaped) && writeText(stream, "\"");
    free(escaped);
    return written;
}

static bool writeList(FILE *stream, char **list)
{
    for (char **item = list; item && *item; ++item) {
        if (item != list && !writeText(stream, ", "))
            return false;
        if (!writeQuoted(stream, *item))
            return false;
    }
    return true;
}

static bool writeValue(FILE *stream, const ConfVar *var)
{
    char number[16];
    switch (var->type) {
    case CONF_STRING:
        return writeQuoted(stream, var->value.string);
    case CONF_STRINGLIST:
        return writeList(stream, var->value.list);
    case CONF_INTEGER:
        snprintf(number, sizeof number, "%d", var->value.integer);
        return writeText(stream, number);
    default:
        return writeText(stream, var->value.boolean ? "true" : "false");
    }
}

static bool isWritten(const ConfVar *var)
{
    if (!var->name)
        return false;
    if (var->type == CONF_STRING)
        return var->value.string;
    return var->type == CONF_STRINGLIST || var->type == CONF_INTEGER || var->type == CONF_BOOLEAN;
}

static bool writeSection(FILE *stream, const ConfSection *section)
{
    if (section->name && !(writeText(stream, section->name) && writeText(stream, ":\n")))
        return false;
    for (int i = 0; i < section->count; ++i) {
        const ConfVar *var = &section->vars[i];
        if (!isWritten(var))
            continue;
        if (!(writeText(stream, var->name) && writeText(stream, " = ") && writeValue(stream, var)
              && writeText(stream, "\n")))
            return false;
    }
    return writeText(stream, "\n");
}

/*
 * Checks that the file may be written, creating the directories and an empty
 * file when it is missing. *created tells whether the file is new.
 */
static bool prepareFile(const char *program, const char *file, const char *path, bool *created)
{
    // Only a regular file is replaced: a FIFO, a device or a link to one
    // (/dev/null, say) is refused rather than swapped for a new file.
    struct stat status;
    const int existing = conf_open_regular(path, O_RDWR, &status);
    if (existing != -1) {
        close(existing);
        return true;
    }
    if (errno != ENOENT)
        return false;
    char *directory = conf_make_dir(program);
    if (!directory)
        return false;
    free(directory);
    if (!conf_file_path(program, file))
        return false;
    FILE *empty = fopen(path, "w+");
    if (!empty)
        return failWith("Couldn't create config file.");
    fclose(empty);
    *created = true;
    return true;
}

/* Where a configuration kept as a symbolic link points, so that the link stays a link. */
static char *replacementTarget(const char *path)
{
    struct stat status;
    char *target = nullptr;
    if (lstat(path, &status) == 0 && S_ISLNK(status.st_mode)) {
        if (!(target = realpath(path, nullptr)))
            failWith("realpath()");
    } else if (!(target = strdup(path))) {
        failWith("strdup()");
    }
    return target;
}

/*
 * Makes the rename itself durable. Some file systems cannot sync a directory;
 * the new file is in place by then, so this is done as far as they allow.
 */
static void syncDirectoryOf(const char *target)
{
    const char *slash = strrchr(target, '/');
    if (!slash)
        return;
    char *directory = strndup(target, slash == target ? 1 : slash - target);
    if (!directory)
        return;
    const int fd = open(directory, O_RDONLY);
    if (fd != -1) {
        fsync(fd);
        close(fd);
    }
    free(directory);
}

/* Writes the list into a new file beside the target and moves it into place. */
static bool replaceFile(const char *target, const ConfSection *sections)
{
    const size_t size = strlen(target) + sizeof ".XXXXXX";
    char *temporary = static_cast<char *>(malloc(size));
    if (!temporary)
        return failWith("malloc()");
    snprintf(temporary, size, "%s.XXXXXX", target);
    const int fd = mkstemp(temporary);
    if (fd == -1) {
        free(temporary);
        return failWith("mkstemp()");
    }
    FILE *stream = fdopen(fd, "w");
    bool written = stream || failWith("fdopen()");
    for (const ConfSection *section = sections; written && section; section = section->next)
        written = writeSection(stream, section);
    written = written && (fflush(stream) == 0 || failWith("fflush()"));
    written = written && (fsync(fd) == 0 || failWith("fsync()"));
    if (stream && fclose(stream) != 0 && written)
        written = failWith("fclose()");
    if (!stream)
        close(fd);
    written = written && (rename(temporary, target) == 0 || failWith("rename()"));
    if (!written)
        unlink(temporary);
    free(temporary);
    return written;
}

int conf_save(const char *program, const char *file, const ConfSection *sections)
{
    conf_reset_reader();
    conf_clear_error();
    if (!checkReadsBack(sections))
        return -1;
    const char *path = conf_file_path(program, file);
    bool created = false;
    if (!path || !prepareFile(program, file, path, &created))
        return -1;
    char *target = replacementTarget(path);
    const bool saved = target && replaceFile(target, sections);
    if (saved)
        syncDirectoryOf(target);
    else if (created && target)
        unlink(target); // no file was there before this save
    free(target);
    return saved ? 0 : -1;
}
