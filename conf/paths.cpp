#include "internal.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char pathBuffer[768];

static const char suiteDirectory[] = ".config/ZVL";

const char *conf_path_buffer(void)
{
    return pathBuffer;
}

/*
 * The home directory lives in storage of the password database that the next
 * lookup overwrites; the callers copy what they need before calling again.
 */
const char *conf_home_directory(void)
{
    const passwd *entry = getpwuid(getuid());
    if (!entry) {
        conf_set_error(CONF_ERR_FATAL, "Couldn't find you in the password file");
        return nullptr;
    }
    endpwent();
    return entry->pw_dir;
}

const char *conf_file_path(const char *program, const char *file)
{
    int length;
    if (file[0] == '/') {
        length = snprintf(pathBuffer, sizeof pathBuffer, "%s", file);
    } else {
        const char *home = conf_home_directory();
        if (!home)
            return nullptr;
        if (program)
            length = snprintf(pathBuffer, sizeof pathBuffer, "%s/%s/%s/%s", home, suiteDirectory,
                              program, file);
        else
            length =
                    snprintf(pathBuffer, sizeof pathBuffer, "%s/%s/%s", home, suiteDirectory, file);
    }
    // A cut path would name some other file: refuse it, whichever part is long.
    if (length < 0 || static_cast<size_t>(length) >= sizeof pathBuffer) {
        pathBuffer[0] = '\0';
        errno = ENAMETOOLONG;
        conf_set_error(CONF_ERR_PATH_TOO_LONG, nullptr);
        return nullptr;
    }
    return pathBuffer;
}

/*
 * Makes sure the directory named by path exists, creating it when missing.
 * Anything that exists is accepted here; a plain file in the way shows up as
 * ENOTDIR when the path is checked with a trailing slash.
 */
static bool ensureDirectory(const char *path)
{
    struct stat status;
    if (stat(path, &status) == 0)
        return true;
    if (errno != ENOENT) {
        conf_set_error(CONF_ERR_FATAL, "stat()");
        return false;
    }
    if (mkdir(path, 0700) == -1) {
        conf_set_error(CONF_ERR_FATAL, "mkdir()");
        return false;
    }
    return true;
}

char *conf_make_dir(const char *program)
{
    const char *home = conf_home_directory();
    if (!home)
        return nullptr;
    const size_t size = strlen(home) + 16 + (program ? strlen(program) : 0);
    char *path = static_cast<char *>(malloc(size));
    if (!path) {
        conf_set_error(CONF_ERR_FATAL, "malloc()");
        return nullptr;
    }
    snprintf(path, size, "%s/", home);
    static const char *const components[] = {".config", "ZVL"};
    for (const char *component : components) {
        strcat(path, component);
        strcat(path, "/");
        if (!ensureDirectory(path)) {
            free(path);
            return nullptr;
        }
    }
    const size_t used = strlen(path);
    if (!program) {
        path[used - 1] = '\0';
        return path;
    }
    snprintf(path + used, size - used, "%s", program);
    if (!ensureDirectory(path)) {
        free(path);
        return nullptr;
    }
    return path;
}

int conf_refuse_file(int fd, const char *path, const char *why, int error)
{
    close(fd);
    errno = error;
    conf_set_error(CONF_ERR_FATAL, "%s%s", path, why);
    return -1;
}

int conf_open_regular(const char *path, int flags, struct stat *status)
{
    const int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
        conf_set_error(CONF_ERR_FATAL, "%s", path);
        return -1;
    }
    if (fstat(fd, status) == -1)
        return conf_refuse_file(fd, path, "", errno);
    if (!S_ISREG(status->st_mode))
        return conf_refuse_file(fd, path, ": not a regular file",
                                S_ISDIR(status->st_mode) ? EISDIR : EINVAL);
    return fd;
}
