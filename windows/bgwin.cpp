#include "bgwin.h"

#include "keyboardgrab.h"
#include "placement.h"
#include "rootcapture.h"

#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace {

// Qt's own way, on any platform: the grab's own buffer, dimmed in place, and
// painted by Qt from a pixmap.
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

// A frameless, stay-on-top window that covers the screen and never takes the
// focus; black until it is given a picture.
QLabel *newCover(QWidget *parent, QScreen *screen)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette dark = label->palette();
    dark.setColor(QPalette::Window, Qt::black);
    label->setPalette(dark);
    label->setAutoFillBackground(true);
    // The whole screen, also where no window manager makes it full-screen:
    // left alone, Qt would cap a new window at two thirds of the screen.
    label->setGeometry(screen->geometry());
    // Past the window manager, which would place it as it likes (awesome
    // below its top bar) and might give it the focus, which the chooser
    // shown later must keep.
    label->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::X11BypassWindowManagerHint);
    label->winId();
    label->windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus);
    return label;
}

void showCover(QLabel *label)
{
    label->setWindowState(Qt::WindowFullScreen);
    label->show();
}

} // namespace

BgWin::BgWin(QWidget *parent) : BgWin(std::make_unique<RootCapture>(), parent) { }

BgWin::BgWin(std::unique_ptr<RootCapture> started, QWidget *parent)
    : QMainWindow(parent), capture(std::move(started))
{
    // Before anything is seen: a key typed as the screen darkens must not be lost.
    new KeyboardGrab(this);
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int index = 0; index < screens.size(); ++index) {
        QScreen *screen = screens.at(index);
        QLabel *label = newCover(this, screen);
        if (index == 0)
            setCentralWidget(label);
        if (!capture->showOn(label, screen))
            label->setPixmap(dimmedScreen(screen));
        showCover(label);
    }
    // Screens come, go and change their size while the chooser waits (a
    // monitor plugged in, a laptop docked): every one of them stays covered.
    connect(qApp, SIGNAL(screenAdded(QScreen *)), this, SLOT(coverScreens()));
    connect(qApp, SIGNAL(screenRemoved(QScreen *)), this, SLOT(coverScreens()));
    connect(qApp, SIGNAL(primaryScreenChanged(QScreen *)), this, SLOT(coverScreens()));
    for (QScreen *screen : screens)
        watchScreen(screen);
}

BgWin::~BgWin() = default;

void BgWin::watchScreen(QScreen *screen)
{
    connect(screen, SIGNAL(geometryChanged(QRect)), this, SLOT(coverScreens()),
            Qt::UniqueConnection);
}

// Each screen keeps the picture of the desktop as it was at the start, where
// the screen shows a part of it, and is black where it shows what was not
// there: a copy taken now would show a desktop that its panels and windows
// are still rearranging for the new screen, and the backdrop itself. A screen
// that has moved or changed its size gets a new window in its new place. Then
// the dialogs come back to the middle of the primary screen, over everything,
// the new windows included.
void BgWin::coverScreens()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const QList<QLabel *> labels = findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    for (int index = 0; index < screens.size(); ++index) {
        QScreen *screen = screens.at(index);
        watchScreen(screen);
        QLabel *old = index < labels.size() ? labels.at(index) : nullptr;
        if (old && old->geometry() == screen->geometry()) {
            capture->showOn(old, screen);
            continue;
        }
        QLabel *label = newCover(this, screen);
        capture->showOn(label, screen);
        showCover(label);
        // Raised again once it shows, over the dialogs.
        label->windowHandle()->installEventFilter(this);
        delete old;
    }
    for (int index = screens.size(); index < labels.size(); ++index)
        delete labels.at(index);
    keepDialogsCentred();
}

bool BgWin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose)
        keepDialogsCentred();
    return QMainWindow::eventFilter(watched, event);
}

void BgWin::keepDialogsCentred()
{
    for (QDialog *dialog : findChildren<QDialog *>()) {
        if (!dialog->isVisible())
            continue;
        dialog->move(centredOnPrimaryScreen(dialog->size()).topLeft());
        dialog->raise();
    }
}
