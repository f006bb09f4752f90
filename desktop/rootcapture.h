// The dimmed copy of an X screen's root that the backdrop shows.
#pragma once

#include <future>
#include <memory>

class QImage;
class QScreen;
class QWidget;
struct DimmedRoot;
struct xcb_connection_t;

// Darkens the image in place to a quarter of its brightness and makes it
// opaque: each of red, green and blue is divided by 4, alpha becomes 255.
// Images that are not 32-bit RGB are converted first; afterwards the image
// is QImage::Format_RGB32 (a null image stays null).
void dimImage(QImage &image);

// The pixels of an X screen's whole root, dimmed on their way from the root
// into a pixmap of the X server, in strips through shared memory where the
// server offers it: one copy, no full-screen buffer in this process, and no
// painting by Qt. Windows show their screen's part of it as the background
// that the server draws. No pixmap is made on displays of other pixel
// formats, nor where Qt does not run on X: the windows are left to Qt then.
class RootCapture
{
public:
    RootCapture();
    // Waits for the thread; the pixmap goes with the object.
    ~RootCapture();

    RootCapture(const RootCapture &) = delete;
    RootCapture &operator=(const RootCapture &) = delete;

    // Starts taking the pixels of the X screen numbered screenNumber on the
    // connection, in a thread of its own, so that the server copies them
    // while the program starts. The connection must stay open while this
    // object lives. Without this call the first showOn() takes them.
    void start(xcb_connection_t *connection, int screenNumber);

    // Gives the window, which Qt made to cover the screen, the screen's part
    // of the dimmed root as the background that the X server paints, and
    // keeps Qt from painting over it; black where the screen shows what was
    // not there when the pixels were taken. False, and the window unchanged,
    // where the pixels cannot go that way.
    bool showOn(QWidget *window, const QScreen *screen);

private:
    const DimmedRoot &taken(QWidget *window, const QScreen *screen);

    std::future<std::unique_ptr<DimmedRoot>> early;
    std::unique_ptr<DimmedRoot> dimmed; // null until taken
};
