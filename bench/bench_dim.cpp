// Dimming a 4K screen picture: the backdrop's scan-line dimImage() beside a
// plain memcpy of the same bytes and the per-pixel pixel()/setPixel() way.
// Prints medians of several runs and their ratios; it never fails.
// Run: QT_QPA_PLATFORM=offscreen bench_dim [width height runs]
#include "rootcapture.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

template<typename Work>
double medianMs(int runs, Work work)
{
    work(); // page faults and caches are not what is measured
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = nowMs();
        work();
        times.push_back(nowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(12345);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random() | 0xff000000u;
    }
    return image;
}

__attribute__((noinline)) void dimPerPixel(QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, ((image.pixel(x, y) >> 2) & 0x3f3f3fu) | 0xff000000u);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // images need no display
    const int width = argc > 2 ? atoi(argv[1]) : 3840;
    const int height = argc > 2 ? atoi(argv[2]) : 2160;
    const int runs = argc > 3 ? atoi(argv[3]) : 21;

    const QImage source = noise(width, height);
    const size_t bytes = size_t(source.sizeInBytes());
    QImage scanLined = source.copy();
    QImage perPixel = source.copy();
    dimImage(scanLined);
    dimPerPixel(perPixel);
    const bool identical = std::memcmp(scanLined.constBits(), perPixel.constBits(), bytes) == 0;

    // Dimming the same buffer again and again drives it to black, but the
    // loop does the same work every time.
    QImage target = source.copy();
    const double dim = medianMs(runs, [&target] { dimImage(target); });
    std::vector<char> copy(bytes);
    const double copying =
            medianMs(runs, [&] { std::memcpy(copy.data(), source.constBits(), bytes); });
    const double naive = medianMs(std::max(3, runs / 4), [&perPixel] { dimPerPixel(perPixel); });

    std::printf("dimming %dx%d (%.1f MB), medians of %d runs\n", width, height, bytes / 1e6, runs);
    std::printf("  scan-line dimImage, in place   %8.2f ms\n", dim);
    std::printf("  memcpy of the same bytes       %8.2f ms\n", copying);
    std::printf("  per-pixel pixel()/setPixel()   %8.2f ms\n", naive);
    std::printf("  ratio dimImage / memcpy        %8.2f  (aim: at most 1.5)\n", dim / copying);
    std::printf("  ratio per-pixel / dimImage     %8.1f\n", naive / dim);
    std::printf("  per-pixel and scan-line results identical: %s\n", identical ? "yes" : "NO");
    return 0;
}
