// The backdrop's own work, timed inside one process on a real X display: Qt's
// grab of each screen and the dimming of its pixels (the steps of Qt's way),
// then the BgWin constructor (grab, dim and hand over the pixels of every
// screen, on whichever way the display allows) and the time until every
// backdrop window is exposed. Prints medians of several runs; it never fails.
// Run: DISPLAY=:N QT_XCB_GL_INTEGRATION=none grabdim [runs]
#include "bgwin.h"
#include "rootcapture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

bool everyWindowExposed(const BgWin *backdrop)
{
    const QList<QWidget *> windows =
            backdrop->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    return std::all_of(windows.cbegin(), windows.cend(), [](QWidget *window) {
        return !window->isWindow() || window->windowHandle()->isExposed();
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? atoi(argv[1]) : 21;
    const QList<QScreen *> screens = QGuiApplication::screens();
    std::vector<double> grab, dim, backdrop, exposed;
    for (int run = 0; run <= runs; ++run) {
        double grabMs = 0, dimMs = 0;
        for (QScreen *screen : screens) {
            const QSize size = screen->geometry().size();
            double start = nowMs();
            QImage image = screen->grabWindow(0, 0, 0, size.width(), size.height()).toImage();
            grabMs += nowMs() - start;
            start = nowMs();
            dimImage(image);
            dimMs += nowMs() - start;
        }
        const double start = nowMs();
        auto *bgwin = new BgWin;
        const double constructed = nowMs();
        QElapsedTimer waiting;
        waiting.start();
        while (!everyWindowExposed(bgwin) && waiting.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const double shown = nowMs();
        delete bgwin;
        QApplication::processEvents();
        if (run == 0)
            continue; // the first run pays for fonts, style and page faults
        grab.push_back(grabMs);
        dim.push_back(dimMs);
        backdrop.push_back(constructed - start);
        exposed.push_back(shown - constructed);
    }
    std::printf("the backdrop's steps, %d screen(s):", int(screens.size()));
    for (QScreen *screen : screens)
        std::printf(" %dx%d+%d+%d", screen->geometry().width(), screen->geometry().height(),
                    screen->geometry().x(), screen->geometry().y());
    std::printf(", medians of %d runs in a warm process, ms\n", runs);
    std::printf("  Qt's grabWindow and toImage, all screens      %8.2f\n", median(grab));
    std::printf("  dimImage in place, all screens                %8.2f\n", median(dim));
    std::printf("  BgWin constructor (grab, dim, hand over, show) %7.2f\n", median(backdrop));
    std::printf("  then until every backdrop window is exposed   %8.2f\n", median(exposed));
    return 0;
}
