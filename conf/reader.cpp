#include "internal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { LineBufferStep = 2048 };

/* The state of the file being read; conf_split_list() shares the item reader. */
static struct
{
    FILE *file;
    char *line; /* read-ahead data; the current line ends where its LF was */
    int capacity;
    int fill;
    int nextOffset; /* first byte after the line last returned */
    int scanned; /* bytes from nextOffset on that are known to hold no LF */
    int lineNumber;
    bool readFailed; /* a read or a buffer allocation failed; the error is recorded */
    char *value; /* the value being read, continuation lines joined */
    size_t valueLength;
    size_t valueCapacity; /* the value buffer is reused from value to value */
    char *cursor; /* where the next item starts */
} reader;

int conf_current_line(void)
{
    return reader.lineNumber;
}

void conf_reset_reader(void)
{
    if (reader.file)
        fclose(reader.file);
    free(reader.line);
    free(reader.value);
    memset(&reader, 0, sizeof reader);
}

static char *failRead(const char *call)
{
    conf_set_error(CONF_ERR_FATAL, "%s", call);
    reader.readFailed = true;
    return nullptr;
}

/* Hands out the bytes left after the last LF as the file's last line. */
static char *lastLine(void)
{
    if (reader.fill == 0)
        return nullptr;
    reader.line[reader.fill] = '\0';
    reader.fill = 0;
    reader.nextOffset = 0;
    reader.scanned = 0;
    ++reader.lineNumber;
    return reader.line;
}

/* Makes room for more bytes after the unread data, which moves to the front. */
static bool makeRoom(void)
{
    const int unread = reader.fill - reader.nextOffset;
    memmove(reader.line, reader.line + reader.nextOffset, unread);
    reader.fill = unread;
    reader.nextOffset = 0;
    if (reader.fill < reader.capacity - 1)
        return true;
    if (reader.capacity > INT32_MAX - LineBufferStep) {
        errno = ENOMEM;
        failRead("realloc()");
        return false;
    }
    char *grown = static_cast<char *>(realloc(reader.line, reader.capacity + LineBufferStep));
    if (!grown) {
        failRead("realloc()");
        return false;
    }
    reader.line = grown;
    reader.capacity += LineBufferStep;
    return true;
}

/*
 * The next line of the open file with its LF (or CR LF) removed, or null at
 * the end of the file and after a failure (then readFailed is set). A NUL
 * byte ends the line's text but not the line. The text is valid until the
 * next call.
 */
static char *readLine(void)
{
    if (!reader.file || reader.readFailed)
        return nullptr;
    if (!reader.line) {
        reader.line = static_cast<char *>(malloc(LineBufferStep));
        if (!reader.line)
            return failRead("malloc()");
        reader.capacity = LineBufferStep;
    }
    for (;;) {
        char *start = reader.line + reader.nextOffset;
        const int unread = reader.fill - reader.nextOffset;
        char *newline =
                static_cast<char *>(memchr(start + reader.scanned, '\n', unread - reader.scanned));
        if (newline) {
            // A CR LF line reads as an LF line, its continuation included.
            if (newline > start && newline[-1] == '\r')
                newline[-1] = '\0';
            *newline = '\0';
            reader.nextOffset = newline + 1 - reader.line;
            reader.scanned = 0;
            ++reader.lineNumber;
            return start;
        }
        reader.scanned = unread;
        if (!makeRoom())
            return nullptr;
        const size_t got =
                fread(reader.line + reader.fill, 1, reader.capacity - reader.fill - 1, reader.file);
        if (got == 0) {
            if (ferror(reader.file))
                return failRead("fread()");
            return lastLine();
        }
        reader.fill += got;
    }
}

/*
 * A header starts in the first column, holds a ':' and has nothing but
 * whitespace after its first ':', or whitespace and a comment.
 */
static bool isSectionHeader(const char *line)
{
    if (!line[0] || conf_is_space(static_cast<unsigned char>(line[0])) || line[0] == ':'
        || line[0] == '#')
        return false;
    const char *colon = strchr(line, ':');
    if (!colon)
        return false;
    const char *rest = colon + 1;
    while (conf_is_space(static_cast<unsigned char>(*rest)))
        ++rest;
    return *rest == '\0' || *rest == '#';
}

/* Makes the value buffer hold at least size bytes; call names the failure. */
static bool reserveValue(size_t size, const char *call)
{
    if (size <= reader.valueCapacity)
        return true;
    size_t capacity = reader.valueCapacity ? reader.valueCapacity * 2 : 256;
    if (capacity < size)
        capacity = size;
    char *grown = static_cast<char *>(realloc(reader.value, capacity));
    if (!grown) {
        conf_set_error(CONF_ERR_FATAL, "%s", call);
        return false;
    }
    reader.value = grown;
    reader.valueCapacity = capacity;
    return true;
}

static bool endsInOddBackslashes(const char *text, size_t length)
{
    size_t backslashes = 0;
    while (backslashes < length && text[length - 1 - backslashes] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

/*
 * Joins continuation lines onto the value: while it ends in an odd number of
 * backslashes, the last one goes and the next line follows without its
 * leading whitespace. An empty line, or the end of the file, ends the value.
 */
static bool joinContinuationLines(int *failed)
{
    while (endsInOddBackslashes(reader.value, reader.valueLength)) {
        reader.value[--reader.valueLength] = '\0';
        const char *line = readLine();
        if (!line) {
            if (reader.readFailed) {
                *failed = 1;
                return false;
            }
            return true;
        }
        if (!line[0])
            return true;
        while (conf_is_space(static_cast<unsigned char>(*line)))
            ++line;
        const size_t extra = strlen(line);
        if (!reserveValue(reader.valueLength + extra + 1, "realloc()")) {
            *failed = 1;
            return false;
        }
        memcpy(reader.value + reader.valueLength, line, extra + 1);
        reader.valueLength += extra;
    }
    return true;
}

static bool startValue(const char *text, int *failed)
{
    reader.cursor = nullptr;
    const size_t length = strlen(text);
    if (!reserveValue(length + 1, "strdup()")) {
        *failed = 1;
        return false;
    }
    memcpy(reader.value, text, length + 1);
    reader.valueLength = length;
    if (!joinContinuationLines(failed))
        return false;
    reader.cursor = reader.value;
    return true;
}

/*
 * The next item of a value: pass the value's text to start it and null for
 * each further item. Returns the item, in place in the value buffer and valid
 * until the next value starts, or null when the items have run out (*failed
 * clear) or on an error (*failed set, the error recorded).
 */
static char *nextItem(const char *text, int *failed)
{
    *failed = 0;
    if (text && !startValue(text, failed))
        return nullptr;
    if (!reader.cursor)
        return nullptr;
    char *in = reader.cursor;
    while (conf_is_space(static_cast<unsigned char>(*in)))
        ++in;
    if (!*in) {
        reader.cursor = in;
        return nullptr;
    }
    char *item = in;
    char *out = in;
    bool quoted = false;
    for (;;) {
        const char c = *in;
        if (!c) {
            if (quoted) {
                conf_set_error(CONF_ERR_QUOTE, nullptr);
                *failed = 1;
                return nullptr;
            }
            reader.cursor = in;
            break;
        }
        ++in;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\') {
            if (*in)
                *out++ = *in++;
        } else if (quoted) {
            *out++ = c;
        } else if (c == ',') {
            reader.cursor = in;
            break;
        } else if (c == '#') {
            reader.cursor = in + strlen(in);
            break;
        } else if (!conf_is_space(static_cast<unsigned char>(c))) {
            *out++ = c;
        }
    }
    *out = '\0';
    return item;
}

static bool isTemplateName(const char *name, const char *word, size_t length)
{
    return name && strncmp(name, word, length) == 0 && name[length] == '\0';
}

static const ConfVar *findTemplateEntry(const ConfVar *tmpl, int count, const char *word,
                                        size_t length)
{
    for (int i = 0; i < count; ++i)
        if (isTemplateName(tmpl[i].name, word, length))
            return &tmpl[i];
    return nullptr;
}

/* The first item of a value that must have one; an empty value is an error of its own. */
static const char *requiredItem(const char *value)
{
    int failed = 0;
    const char *item = nextItem(value, &failed);
    if (!item && !failed)
        conf_set_error(CONF_ERR_NO_VALUE, nullptr);
    return item;
}

static bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

static bool equalsIgnoringCase(const char *text, const char *lowerWord)
{
    for (; *text && *lowerWord; ++text, ++lowerWord) {
        const char c = (*text >= 'A' && *text <= 'Z') ? *text - 'A' + 'a' : *text;
        if (c != *lowerWord)
            return false;
    }
    return !*text && !*lowerWord;
}

static bool parseBoolean(const char *item)
{
    if (equalsIgnoringCase(item, "false") || equalsIgnoringCase(item, "no"))
        return false;
    return !(isDigit(item[0]) && strtol(item, nullptr, 10) == 0);
}

/*
 * Appends each item of the value to the list. Returns false on an error, which
 * is recorded, with the list released.
 */
static bool appendItems(char ***list, const char *value)
{
    int failed = 0;
    for (const char *item = nextItem(value, &failed); item; item = nextItem(nullptr, &failed))
        if (!add_string(list, item))
            return false;
    if (failed) {
        conf_free_list(*list);
        *list = nullptr;
    }
    return !failed;
}

static int assignValue(ConfVar *var, const char *value)
{
    if (var->type == CONF_STRINGLIST) {
        conf_free_list(var->value.list);
        var->value.list = nullptr;
        return appendItems(&var->value.list, value) ? 0 : -1;
    }
    if (var->type != CONF_STRING && var->type != CONF_INTEGER && var->type != CONF_BOOLEAN)
        return 0;
    const char *item = requiredItem(value);
    if (!item)
        return -1;
    ConfValue parsed;
    if (var->type == CONF_STRING)
        parsed.text = item;
    else if (var->type == CONF_INTEGER)
        parsed.word = strtol(item, nullptr, 10);
    else
        parsed.word = parseBoolean(item);
    return conf_set_var(var, parsed);
}

static bool isNameEnd(char c)
{
    return c == '\0' || c == ' ' || c == '\t' || c == '=';
}

/* Parses one line that is not a header into the slots. Returns 0, or -1 with the error recorded. */
static int parseAssignment(const char *line, const ConfVar *tmpl, int count, ConfVar *vars)
{
    line += strspn(line, " \t\r\n");
    if (!*line || *line == '#')
        return 0;
    const char *name = line;
    while (!isNameEnd(*line))
        ++line;
    const size_t nameLength = line - name;
    const char *equals = strchr(line, '=');
    if (!equals) {
        conf_set_error(CONF_ERR_NO_EQUALS, nullptr);
        return -1;
    }
    const char *value = equals + 1;
    value += strspn(value, " \t\n");
    const ConfVar *entry = findTemplateEntry(tmpl, count, name, nameLength);
    if (!entry) {
        conf_set_error(CONF_ERR_UNKNOWN_VAR, nullptr);
        return -1;
    }
    ConfVar *var = &vars[entry->slot];
    var->name = entry->name;
    var->type = entry->type;
    return assignValue(var, value);
}

/*
 * The names of the sections read so far, in an open-addressing table so that
 * a file with many sections is read in time linear in their number. The
 * names belong to the sections; each entry keeps its hash, so that a probe
 * touches a name only when the hashes agree.
 */
struct NameEntry
{
    size_t hash;
    const char *name;
};

struct NameTable
{
    NameEntry *entries;
    size_t size; /* a power of two */
    size_t used;
};

/* FNV-1a, then mixed so that the low bits, which pick the slot, depend on every byte. */
static size_t hashName(const char *name)
{
    uint64_t hash = 14695981039346656037u;
    for (; *name; ++name)
        hash = (hash ^ static_cast<unsigned char>(*name)) * 1099511628211u;
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdu;
    hash ^= hash >> 33;
    return static_cast<size_t>(hash);
}

/* The entry that holds name, or the empty entry where it belongs. */
static NameEntry *findName(const NameTable *table, const char *name, size_t hash)
{
    size_t index = hash & (table->size - 1);
    for (;;) {
        NameEntry *entry = &table->entries[index];
        if (!entry->name || (entry->hash == hash && strcmp(entry->name, name) == 0))
            return entry;
        index = (index + 1) & (table->size - 1);
    }
}

static bool growNames(NameTable *table)
{
    const size_t size = table->size ? table->size * 2 : 64;
    NameEntry *entries = static_cast<NameEntry *>(calloc(size, sizeof(NameEntry)));
    if (!entries) {
        conf_set_error(CONF_ERR_FATAL, "calloc()");
        return false;
    }
    NameTable grown = {entries, size, table->used};
    for (size_t i = 0; i < table->size; ++i)
        if (table->entries[i].name)
            *findName(&grown, table->entries[i].name, table->entries[i].hash) = table->entries[i];
    free(table->entries);
    *table = grown;
    return true;
}

/* Adds a section's name; false when it is there already (code 8) or on failure. */
static bool addName(NameTable *table, const char *name)
{
    if ((table->used + 1) * 2 > table->size && !growNames(table))
        return false;
    const size_t hash = hashName(name);
    NameEntry *entry = findName(table, name, hash);
    if (entry->name) {
        conf_set_error(CONF_ERR_DUP_SECTION, "Section '%s'", name);
        return false;
    }
    *entry = NameEntry {hash, name};
    ++table->used;
    return true;
}

/* The sections being built, with the end of the list at hand. */
struct SectionList
{
    ConfSection *first;
    ConfSection *last;
    NameTable names;
};

static ConfSection *appendSection(SectionList *list, const char *name, const ConfVar *tmpl,
                                  int count)
{
    ConfSection *section = conf_new_section(name, tmpl, count);
    if (!section)
        return nullptr;
    if (list->last)
        list->last->next = section;
    else
        list->first = section;
    list->last = section;
    return section;
}

/* Opens a named section for a header line; the name is the text before its first ':'. */
static ConfSection *openSection(SectionList *list, char *header, const ConfVar *tmpl, int count)
{
    *strchr(header, ':') = '\0';
    ConfSection *section = appendSection(list, header, tmpl, count);
    if (section && !addName(&list->names, section->name))
        return nullptr;
    return section;
}

static bool isBlankOrComment(const char *line)
{
    while (conf_is_space(static_cast<unsigned char>(*line)))
        ++line;
    return !*line || *line == '#';
}

/* Reads the lines of the open file into the list. Returns false on an error. */
static bool readSections(SectionList *list, const ConfVar *tmpl, int count)
{
    ConfSection *current = nullptr;
    bool inNamedSections = false;
    char *line;
    while ((line = readLine())) {
        if (isSectionHeader(line)) {
            if (!(current = openSection(list, line, tmpl, count)))
                return false;
            inNamedSections = true;
            continue;
        }
        if (!inNamedSections) {
            // Before the first header: the global section, made at its first assignment.
            if (isBlankOrComment(line))
                continue;
            if (!current && !(current = appendSection(list, nullptr, tmpl, count)))
                return false;
        }
        if (parseAssignment(line, tmpl, count, current->vars) == -1)
            return false;
    }
    if (reader.readFailed)
        return false;
    return list->first || appendSection(list, nullptr, tmpl, count);
}

/*
 * Opens the file for reading without waiting for anything: a FIFO or a
 * device in its place would block open() or the reads for ever, and
 * /dev/zero would fill the memory. Only a regular file of a sane size is
 * read; anything else fails at once, the path recorded.
 */
static FILE *openRegularFile(const char *path)
{
    struct stat status;
    const int fd = conf_open_regular(path, O_RDONLY, &status);
    if (fd == -1)
        return nullptr;
    if (status.st_size > CONF_MAX_FILE_SIZE) {
        char why[32];
        snprintf(why, sizeof why, ": larger than %ld MiB", CONF_MAX_FILE_SIZE >> 20);
        conf_refuse_file(fd, path, why, EFBIG);
        return nullptr;
    }
    // A regular file's reads wait for the disk as usual.
    const int flags = fcntl(fd, F_GETFL);
    FILE *file = nullptr;
    if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 || !(file = fdopen(fd, "r")))
        conf_refuse_file(fd, path, "", errno);
    return file;
}

ConfSection *conf_load(const char *program, const char *file, const ConfVar *tmpl, int count)
{
    errno = 0;
    conf_reset_reader();
    conf_clear_error();
    const char *path = conf_file_path(program, file);
    if (!path)
        return nullptr;
    reader.file = openRegularFile(path);
    if (!reader.file)
        return nullptr;
    // The password lookup may leave ENOENT behind even when it succeeds; a
    // caller must not take a broken file for a missing one.
    errno = 0;
    SectionList list = {};
    const bool loaded = readSections(&list, tmpl, count);
    free(list.names.entries);
    conf_reset_reader();
    if (loaded)
        return list.first;
    conf_free_sections(list.first);
    errno = conf_last_error.code == CONF_ERR_FATAL ? conf_last_error.saved_errno : EINVAL;
    return nullptr;
}

char **conf_split_list(const char *text, int *failed)
{
    char **list = nullptr;
    *failed = text && !appendItems(&list, text);
    // Outside a load nothing else would free the value buffer.
    conf_reset_reader();
    return list;
}
