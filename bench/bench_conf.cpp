// Loads generated configurations of 1,000, 10,000 and 100,000 sections and
// prints the loader's throughput beside the time to merely read the same
// file, and how the load time grows with the number of sections.
#include "conf.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

namespace {

const char *const defaultItems[] = {"a", "b", nullptr};
const ConfVar benchTemplate[] = {
        {"command", CONF_STRING, 0, "metalock"},
        {"items", CONF_STRINGLIST, 1, defaultItems},
        {"count", CONF_INTEGER, 2, int32_t(0)},
        {"flag", CONF_BOOLEAN, 3, false},
};
const int benchCount = 4;

double now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// About 100 bytes a section, so that 10,000 sections make 1 MB.
long writeConfiguration(const char *path, int sections)
{
    FILE *file = fopen(path, "w");
    if (!file) {
        perror(path);
        exit(1);
    }
    fputs("# generated\ncommand = \"global\"\n", file);
    for (int i = 0; i < sections; ++i)
        fprintf(file,
                "host%07d:\ncommand = \"ssh -x host%07d\"\nitems = a, \"b c\"\n"
                "count = %d\nflag = %s\n",
                i, i, i, i % 2 ? "yes" : "no");
    const long size = ftell(file);
    fclose(file);
    return size;
}

double readOnce(const char *path, char *buffer, long size)
{
    const double start = now();
    FILE *file = fopen(path, "r");
    if (!file || fread(buffer, 1, size, file) != static_cast<size_t>(size)) {
        perror(path);
        exit(1);
    }
    fclose(file);
    return now() - start;
}

double loadOnce(const char *path, int sections)
{
    const double start = now();
    ConfSection *list = conf_load(nullptr, path, benchTemplate, benchCount);
    const double elapsed = now() - start;
    if (!list) {
        fputs(conf_error_text(), stderr);
        exit(1);
    }
    int loaded = 0;
    for (const ConfSection *section = list; section; section = section->next)
        ++loaded;
    if (loaded != sections + 1) {
        fprintf(stderr, "loaded %d sections, expected %d\n", loaded, sections + 1);
        exit(1);
    }
    conf_free_sections(list);
    return elapsed;
}

struct Figures
{
    double read;
    double load;
};

// The best of a few runs of each, alternating, so that both see the same machine.
Figures measure(const char *path, int sections, long size)
{
    char *buffer = static_cast<char *>(malloc(size));
    Figures best = {1e9, 1e9};
    const int runs = sections >= 100000 ? 5 : 15;
    for (int run = 0; run < runs; ++run) {
        const double read = readOnce(path, buffer, size);
        const double load = loadOnce(path, sections);
        best.read = read < best.read ? read : best.read;
        best.load = load < best.load ? load : best.load;
    }
    free(buffer);
    return best;
}

} // namespace

int main()
{
    char directory[] = "/tmp/farewelldesk-bench.XXXXXX";
    if (!mkdtemp(directory)) {
        perror("mkdtemp");
        return 1;
    }
    char path[sizeof directory + 16];
    snprintf(path, sizeof path, "%s/config", directory);

    const int sizes[] = {1000, 10000, 100000};
    double loadTimes[3];
    double readTimes[3];
    printf("%9s %10s %12s %10s %12s %10s %12s\n", "sections", "bytes", "read ms", "read MB/s",
           "load ms", "load MB/s", "load/read");
    for (int i = 0; i < 3; ++i) {
        const long size = writeConfiguration(path, sizes[i]);
        const Figures figures = measure(path, sizes[i], size);
        loadTimes[i] = figures.load;
        readTimes[i] = figures.read;
        const double megabytes = size / 1e6;
        printf("%9d %10ld %12.3f %10.1f %12.3f %10.1f %12.1f\n", sizes[i], size, figures.read * 1e3,
               megabytes / figures.read, figures.load * 1e3, megabytes / figures.load,
               figures.load / figures.read);
    }
    printf("load time, 100,000 sections / 1,000 sections: %.1f (linear growth: 100)\n",
           loadTimes[2] / loadTimes[0]);
    printf("load time, 100,000 sections / 10,000 sections: %.1f (linear growth: 10)\n",
           loadTimes[2] / loadTimes[1]);
    // Caches favour the small file even for a plain read; this is the yardstick.
    printf("read time, 100,000 sections / 1,000 sections: %.1f\n", readTimes[2] / readTimes[0]);

    unlink(path);
    rmdir(directory);
    return 0;
}
