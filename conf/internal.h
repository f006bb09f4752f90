/*
 * Shared between the library's own source files only; not installed.
 *
 * Names: what the files share carries the conf_ prefix of the public
 * interface, since the linker sees it beside the program's own names; a
 * helper of one file is static and named in camelCase.
 */
#ifndef FAREWELLDESK_CONF_INTERNAL_H
#define FAREWELLDESK_CONF_INTERNAL_H

#include "conf.h"

#include <stddef.h>
#include <sys/stat.h>

/* The path buffer of conf_file_path(); the error record's file points at it. */
const char *conf_path_buffer(void);

/* The number of the line being read, 0 outside conf_load(). */
int conf_current_line(void);

/* Closes the file and frees the buffers of the reader; the line counter becomes 0. */
void conf_reset_reader(void);

/* Sets the error record's code and saved errno to -1, as load and save begin. */
void conf_clear_error(void);

/* The home directory from the password database of the real user id, or null (code 7). */
const char *conf_home_directory(void);

/*
 * Opens the path with the flags and O_NONBLOCK, so that a FIFO or a device in
 * its place cannot block, and keeps it only if it is a regular file. Returns
 * the descriptor, still non-blocking, with its status in *status; or -1 with
 * the error recorded (code 7, prefix the path, or the path and ": not a
 * regular file" with errno EISDIR or EINVAL).
 */
int conf_open_regular(const char *path, int flags, struct stat *status);

/* Closes the descriptor and records the error of conf_open_regular(). */
int conf_refuse_file(int fd, const char *path, const char *why, int error);

/* Sets one slot as conf_set_value() does. Returns 0 or -1 (code 7). */
int conf_set_var(ConfVar *var, ConfValue value);

/* Frees a string list: its strings, then its array. Null is allowed. */
void conf_free_list(char **list);

/* Whitespace as the file format knows it; bytes of 0x80 and above never are. */
static inline bool conf_is_space(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

#endif
