/*
 * conf - a small configuration-file library.
 *
 * A configuration is a singly linked list of sections. Every section holds
 * the same fixed set of typed variable slots, described by a caller-supplied
 * variable template. Files live in {home}/.config/ZVL/{program}/{file}, the
 * home directory taken from the password database of the real user id.
 *
 * File format, one statement per line:
 *
 *     # a comment
 *     name = "a string", "second item"    # trailing comment
 *     other = unquoted\ words  \
 *             joined onto this line
 *     section name:
 *     name = "value in the named section"
 *
 * Assignments before the first header form the unnamed global section; a
 * header is a line that starts in the first column, holds a ':' and has only
 * blanks or a comment after its first ':'. Items are separated by ',';
 * outside double quotes blanks are dropped and '#' starts a comment; a
 * backslash takes the next character literally; a value ending in an odd
 * number of backslashes continues on the next line.
 *
 * Errors: a failing call returns null or -1 and records the error in one
 * module-wide record; conf_error_text() and conf_print_error() describe it.
 * Recording an error leaves errno alone. The library keeps module-wide
 * buffers and is neither reentrant nor thread-safe.
 *
 * Ownership: the caller owns the section lists it receives and frees them
 * with conf_free_sections(). Values inside a section are owned by the
 * section. Variable names point into the caller's template, which must
 * outlive every section made from it.
 */
#ifndef FAREWELLDESK_CONF_H
#define FAREWELLDESK_CONF_H

#include <stdbool.h>
#include <stdint.h>

/* Types of variables. Any other value is carried along uninterpreted. */
typedef int32_t ConfVarType;
enum {
    CONF_STRING = 1, /* owned heap string, or null */
    CONF_STRINGLIST = 2, /* owned null-terminated array of owned strings, or null */
    CONF_INTEGER = 3, /* 32-bit signed integer */
    CONF_BOOLEAN = 4 /* false or true */
};

/* Error codes of the error record. */
enum {
    CONF_ERR_NONE = -1,
    CONF_ERR_PATH_TOO_LONG = 6,
    CONF_ERR_FATAL = 7, /* a failing system or allocation call; errno is kept */
    CONF_ERR_DUP_SECTION = 8,
    CONF_ERR_ESCAPE = 0x101,
    CONF_ERR_QUOTE = 0x102,
    CONF_ERR_NO_EQUALS = 0x103,
    CONF_ERR_NO_VALUE = 0x104,
    CONF_ERR_UNKNOWN_VAR = 0x105
};

/*
 * One pointer-sized value word, read by the variable's type. In a template
 * the defaults are given as `text`, `texts`, `integer` or `boolean`; in a
 * section the store keeps its own copies in `string` and `list`.
 */
typedef union ConfValue
{
    const char *text;
    const char *const *texts; /* null-terminated */
    char *string;
    char **list; /* null-terminated */
    int32_t integer;
    bool boolean;
    intptr_t word;

    constexpr ConfValue() : word(0) { }
    constexpr ConfValue(const char *defaultText) : text(defaultText) { }
    constexpr ConfValue(const char *const *defaultTexts) : texts(defaultTexts) { }
    constexpr ConfValue(int32_t defaultInteger) : integer(defaultInteger) { }
    constexpr ConfValue(bool defaultBoolean) : boolean(defaultBoolean) { }
} ConfValue;

/*
 * A variable: a template entry (name, type, the slot it fills, the default)
 * or a section slot (name and type copied from the template, slot unused).
 */
typedef struct ConfVar
{
    const char *name;
    ConfVarType type;
    int32_t slot;
    ConfValue value;
} ConfVar;

typedef struct ConfSection
{
    int32_t count; /* number of slots in vars */
    char *name; /* null for the global section */
    ConfVar *vars;
    struct ConfSection *next;
} ConfSection;

/* The module-wide error record. */
typedef struct ConfError
{
    int32_t line; /* line of the file being read, 0 outside a read */
    int32_t code; /* CONF_ERR_*, -1 when nothing is recorded */
    int32_t saved_errno; /* errno when the error was recorded */
    char prefix[1024]; /* context: the failing call, a path, a section */
    const char *file; /* the path buffer of conf_file_path() */
} ConfError;

extern ConfError conf_last_error;

/* Records an error; fmt may be null for no prefix. Leaves errno unchanged. */
void conf_set_error(int code, const char *fmt, ...) __attribute__((format(printf, 2, 3)));

/*
 * The message of the recorded error, ending in a newline; "" when none is
 * recorded. Sets errno to the errno of the failure. The text lives in a
 * module buffer that the next call overwrites.
 */
const char *conf_error_text(void);

/* Writes the message of the recorded error to standard error. */
void conf_print_error(void);

/*
 * The path {home}/.config/ZVL/{program}/{file} ({home}/.config/ZVL/{file}
 * without a program; an absolute file name as it is). Returns a module
 * buffer that the next call overwrites, or null: code 6 (errno ENAMETOOLONG)
 * when the whole path would be longer than 767 characters, whichever part is
 * long; code 7 without a password entry. Never returns a cut path. Creates
 * nothing.
 */
const char *conf_file_path(const char *program, const char *file);

/*
 * Creates {home}/.config/ZVL and, with a program, {home}/.config/ZVL/{program}
 * as far as they are missing (mode 0700). Returns that directory as a new
 * string the caller frees, or null (code 7: "stat()", "mkdir()", "malloc()"
 * or no password entry).
 */
char *conf_make_dir(const char *program);

/* The largest configuration file that conf_load() reads: 64 MiB. */
#define CONF_MAX_FILE_SIZE (64L * 1024 * 1024)

/*
 * Reads the configuration file of `program` (opened read-only); its lines
 * may end in LF or CR LF. Only a regular file of at most CONF_MAX_FILE_SIZE
 * bytes is read: a directory, a FIFO, a device or a larger file fails at
 * once, without blocking (code 7 with the path and the reason as its
 * prefix; errno EISDIR, EINVAL or EFBIG). `tmpl` holds `count` entries
 * whose slots lie in 0..count-1. Returns a new section list
 * that the caller frees with conf_free_sections(), every section with
 * `count` slots filled from the template and then from the file; the global
 * section, when the file has one, comes first. Returns null on failure, with
 * errno ENOENT only when the file or its directory does not exist: a syntax
 * error (codes 0x102..0x105), a duplicated section (8), a read or allocation
 * failure (7) all fail the whole load. Never creates the file.
 */
ConfSection *conf_load(const char *program, const char *file, const ConfVar *tmpl, int count);

/*
 * Writes the list to the configuration file of `program`, creating the
 * directories as needed. The new contents go to a temporary file in the same
 * directory, which is flushed, synced and renamed over the old one; where the
 * path is a symbolic link, the link's target is replaced and the link stays.
 * The saved file has mode 0600. Returns 0, or -1 with the old file left as it
 * was and no temporary file behind (code 7 naming the failing call, such as
 * "fwrite()", "fsync()" or "rename()"). Only a regular file is replaced: a
 * FIFO, a device or a link to one fails at once (code 7, prefix the path and
 * ": not a regular file", errno EINVAL; EISDIR for a directory). A list that would not read back
 * the same is refused before anything is written (code 7, errno EINVAL, prefix naming the variable
 * or section): a string or list item holding a newline, a section name that is empty, starts with
 * whitespace or '#', or holds ':' or a newline, and a global section that is not first. A string
 * slot holding null writes no line, so it reads back as the template's default.
 */
int conf_save(const char *program, const char *file, const ConfSection *sections);

/* A new section (global when name is null) holding the template's defaults, or null. */
ConfSection *conf_new_section(const char *name, const ConfVar *tmpl, int count);

/*
 * Appends a new section to a non-empty list. Returns it, or null: when the
 * list is empty (nothing recorded), when it already holds a section of that
 * name or a global one (code 8), and for a global section, which must come
 * first and so cannot be appended (code 7, errno EINVAL).
 */
ConfSection *conf_add_section(ConfSection *first, const char *name, const ConfVar *tmpl, int count);

/* The first section named `name` (the global one for null), or null. */
ConfSection *conf_find_section(ConfSection *first, const char *name);

/* Unlinks and frees the named section (the global one for null), if there is one. */
void conf_remove_section(ConfSection **first, const char *name);

/* Frees one section, not its successors. */
void conf_free_section(ConfSection *section);

/* Frees a whole list; null is allowed. */
void conf_free_sections(ConfSection *first);

/*
 * Sets slot `slot` (which must be below the section's count) from a value
 * word read by the slot's type: a string is copied (null stores null), a
 * list is copied item by item (null stores the empty list), an integer keeps
 * its low 32 bits, a boolean the lowest bit. Returns 0 or -1 (code 7).
 */
int conf_set_value(ConfSection *section, int slot, ConfValue value);

/*
 * Fills a zero-filled slot array from the template's defaults, copying
 * strings and lists. Returns 0, or -1 (code 7) with what was copied so far
 * left in the slots for conf_free_section() to release.
 */
int conf_copy_defaults(ConfVar *vars, const ConfVar *tmpl, int count);

/*
 * Splits a text into its items, as a value of a file is read. Returns a new
 * null-terminated list the caller frees, or null: *failed is set when null
 * comes from an error rather than from a text without items.
 */
char **conf_split_list(const char *text, int *failed);

/*
 * Appends a copy of text to the list *list (null is the empty list). Returns
 * the new array, or null after releasing the whole list and setting *list to
 * null.
 */
char **add_string(char ***list, const char *text);

#endif
