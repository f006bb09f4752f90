// Loads the fuzzer's bytes as a configuration file, then saves what loaded and
// loads it again: the second load must give the same sections and values.
#include "conf.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

const char *const defaultList[] = {"first", "second", nullptr};

const ConfVar fuzzTemplate[] = {
        {"text", CONF_STRING, 0, static_cast<const char *>(nullptr)},
        {"name", CONF_STRING, 1, "default"},
        {"list", CONF_STRINGLIST, 2, defaultList},
        {"count", CONF_INTEGER, 3, int32_t(7)},
        {"flag", CONF_BOOLEAN, 4, true},
};
const int fuzzCount = sizeof fuzzTemplate / sizeof fuzzTemplate[0];

// Absolute names, so that the library never looks for a home directory.
char directory[] = "/tmp/farewelldesk-fuzz.XXXXXX";
char inputPath[sizeof directory + 16];
char savedPath[sizeof directory + 16];

volatile unsigned touched;

void touch(const char *text)
{
    for (; *text; ++text)
        touched += static_cast<unsigned char>(*text);
}

void touchSections(const ConfSection *section)
{
    for (; section; section = section->next) {
        if (section->name)
            touch(section->name);
        for (int i = 0; i < section->count; ++i) {
            const ConfVar &var = section->vars[i];
            if (var.type == CONF_STRING && var.value.string)
                touch(var.value.string);
            else if (var.type == CONF_STRINGLIST)
                for (char **item = var.value.list; item && *item; ++item)
                    touch(*item);
        }
    }
}

bool sameText(const char *a, const char *b)
{
    return a == b || (a && b && strcmp(a, b) == 0);
}

bool sameList(char **a, char **b)
{
    for (; a && *a; ++a, ++b)
        if (!b || !*b || strcmp(*a, *b) != 0)
            return false;
    return !b || !*b;
}

bool sameVar(const ConfVar &a, const ConfVar &b)
{
    if (a.type != b.type)
        return false;
    switch (a.type) {
    case CONF_STRING:
        return sameText(a.value.string, b.value.string);
    case CONF_STRINGLIST:
        return sameList(a.value.list, b.value.list);
    case CONF_INTEGER:
        return a.value.integer == b.value.integer;
    case CONF_BOOLEAN:
        return a.value.boolean == b.value.boolean;
    default:
        return true;
    }
}

bool sameSections(const ConfSection *a, const ConfSection *b)
{
    for (; a && b; a = a->next, b = b->next) {
        if (!sameText(a->name, b->name) || a->count != b->count)
            return false;
        for (int i = 0; i < a->count; ++i)
            if (!sameVar(a->vars[i], b->vars[i]))
                return false;
    }
    return !a && !b;
}

void fail(const char *what)
{
    fprintf(stderr, "fuzz_conf: %s: %s", what, conf_error_text());
    abort();
}

void removeDirectory()
{
    unlink(inputPath);
    unlink(savedPath);
    rmdir(directory);
}

void writeFile(const char *path, const uint8_t *data, size_t size)
{
    FILE *file = fopen(path, "w");
    if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) {
        perror(path);
        abort();
    }
}

void roundTrip(const ConfSection *loaded)
{
    if (conf_save(nullptr, savedPath, loaded) == -1) {
        // Only a list that could not be read back may be refused.
        if (conf_last_error.code != CONF_ERR_FATAL || conf_last_error.saved_errno != EINVAL)
            fail("save failed");
        return;
    }
    ConfSection *reloaded = conf_load(nullptr, savedPath, fuzzTemplate, fuzzCount);
    if (!reloaded)
        fail("saved file does not load");
    touchSections(reloaded);
    if (!sameSections(loaded, reloaded))
        fail("saved file loads with other values\n");
    conf_free_sections(reloaded);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!mkdtemp(directory)) {
        perror("mkdtemp");
        abort();
    }
    snprintf(inputPath, sizeof inputPath, "%s/input", directory);
    snprintf(savedPath, sizeof savedPath, "%s/saved", directory);
    // The saved file exists from the start, so saving never creates directories.
    writeFile(savedPath, nullptr, 0);
    atexit(removeDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeFile(inputPath, data, size);
    ConfSection *loaded = conf_load(nullptr, inputPath, fuzzTemplate, fuzzCount);
    if (!loaded) {
        touch(conf_error_text());
        return 0;
    }
    touchSections(loaded);
    roundTrip(loaded);
    conf_free_sections(loaded);
    return 0;
}
