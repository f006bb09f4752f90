// The backdrop's own work, timed inside one process on a real X display:
// grabbing each screen, dimming the grabs, and the whole BgWin constructor.
// Prints medians of several runs; it never fails.
// Run: DISPLAY=:N QT_XCB_GL_INTEGRATION=none grabdim [runs]
#include "bgwin.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? atoi(argv[1]) : 21;
    const QList<QScreen *> screens = QGuiApplication::screens();
    std::vector<double> grab, convert, dim, backdrop;
    for (int run = 0; run <= runs; ++run) {
        double grabMs = 0, convertMs = 0, dimMs = 0;
        for (QScreen *screen : screens) {
            const QRect area = screen->geometry();
            double start = nowMs();
            QPixmap pixmap = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            grabMs += nowMs() - start;
            start = nowMs();
            QImage image = pixmap.toImage();
            pixmap = QPixmap();
            convertMs += nowMs() - start;
            start = nowMs();
            dimImage(image);
            dimMs += nowMs() - start;
        }
        const double start = nowMs();
        auto *bgwin = new BgWin;
        const double constructMs = nowMs() - start;
        delete bgwin;
        QApplication::processEvents();
        if (run == 0)
            continue; // the first run pays for fonts, style and page faults
        grab.push_back(grabMs);
        convert.push_back(convertMs);
        dim.push_back(dimMs);
        backdrop.push_back(constructMs);
    }
    std::printf("grab and dim, %d screen(s):", int(screens.size()));
    for (QScreen *screen : screens)
        std::printf(" %dx%d+%d+%d", screen->geometry().width(), screen->geometry().height(),
                    screen->geometry().x(), screen->geometry().y());
    std::printf(", medians of %d runs in ms\n", runs);
    std::printf("  grabWindow, all screens         %8.2f\n", median(grab));
    std::printf("  toImage, all screens            %8.2f\n", median(convert));
    std::printf("  dimImage in place, all screens  %8.2f\n", median(dim));
    std::printf("  BgWin constructor (grab, dim, show labels) %8.2f\n", median(backdrop));
    return 0;
}
