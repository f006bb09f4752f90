// The dimmed copy of every screen that lies behind the chooser.
#pragma once

#include <QMainWindow>

class QImage;
struct xcb_connection_t;

// Darkens the image in place to a quarter of its brightness and makes it
// opaque: each of red, green and blue is divided by 4, alpha becomes 255.
// Images that are not 32-bit RGB are converted first; afterwards the image
// is QImage::Format_RGB32 (a null image stays null).
void dimImage(QImage &image);

// Grabs each screen, dims the picture and shows it full screen on that screen.
// On X the pixels go from the root window, dimmed on the way, into a pixmap of
// the X server that a window covering the whole root has as its background,
// with one copy and no painting by Qt; with several monitors the server copies
// each one's part out of it. Elsewhere, and on displays of other pixel
// formats, Qt grabs and paints them.
// Deleting the backdrop removes those windows and every dialog parented to it.
class BgWin : public QMainWindow
{
    Q_OBJECT

public:
    explicit BgWin(QWidget *parent = nullptr);

    // Starts taking the pixels of the X screen numbered screenNumber on the
    // connection, in a thread of its own, for the next backdrop: the X
    // server copies them while the program starts. The connection must stay
    // open; without this call the backdrop takes them itself.
    static void startGrab(xcb_connection_t *connection, int screenNumber);
};
