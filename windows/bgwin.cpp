#include "bgwin.h"

#include "keyboardgrab.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace {

inline quint32 dimmedPixel(quint32 argb)
{
    return ((argb >> 2) & 0x3f3f3fu) | 0xff000000u;
}

// A fixed-size inner block lets GCC vectorise the loop at -O2 too, where its
// cost model leaves a loop of unknown trip count scalar; clang does either.
void dimLine(quint32 *pixel, int count)
{
    constexpr int block = 16;
    int x = 0;
    for (; x + block <= count; x += block) {
        for (int i = 0; i < block; ++i)
            pixel[x + i] = dimmedPixel(pixel[x + i]);
    }
    for (; x < count; ++x)
        pixel[x] = dimmedPixel(pixel[x]);
}

// The grab's own buffer, dimmed without a second copy of the screen.
QPixmap dimmedScreen(QScreen *screen)
{
    // With no window given, the offset counts from the screen's own corner:
    // the screen's place on the desktop would grab beside any screen but the
    // first, and show that one black.
    const QSize size = screen->geometry().size();
    QImage image = screen->grabWindow(0, 0, 0, size.width(), size.height()).toImage();
    dimImage(image);
    return QPixmap::fromImage(std::move(image));
}

} // namespace

void dimImage(QImage &image)
{
    if (image.isNull())
        return;
    // Premultiplied and other formats are read as plain ARGB, which is what
    // the dimmed values are defined on.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = std::move(image).convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y)
        dimLine(reinterpret_cast<quint32 *>(image.scanLine(y)), width);
    // Every pixel is opaque now; saying so spares a conversion when the
    // image becomes a pixmap.
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

BgWin::BgWin(QWidget *parent) : QMainWindow(parent)
{
    // Before anything is seen: a key typed as the screen darkens must not be lost.
    new KeyboardGrab(this);
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int index = 0; index < screens.size(); ++index) {
        QScreen *screen = screens.at(index);
        auto *label = new QLabel(this);
        label->setPixmap(dimmedScreen(screen));
        // The whole screen, also where no window manager makes it full-screen:
        // left alone, Qt would cap a new window at two thirds of the screen.
        label->setGeometry(screen->geometry());
        if (index == 0)
            setCentralWidget(label);
        label->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        // The chooser, shown later, must keep the keyboard: so no
        // showFullScreen(), which would also activate the backdrop, and a
        // native window that tells a window manager which focuses new windows
        // not to give it the focus. Were it focused, Qt would pass the focus
        // on to the modal chooser with an older time stamp, which the X server
        // ignores. The widget keeps the flags above.
        label->winId();
        label->windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus);
        label->setWindowState(Qt::WindowFullScreen);
        label->show();
    }
}
