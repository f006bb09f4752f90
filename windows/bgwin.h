// The dimmed copy of every screen that lies behind the chooser.
#pragma once

#include <QMainWindow>

#include <memory>

class QImage;
class QScreen;
struct DimmedRoot;
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
// While it is shown, every screen stays covered as screens come, go and
// change their size, and the dialogs parented to it stay in the middle of the
// primary screen.
// Deleting the backdrop removes those windows and every dialog parented to it.
class BgWin : public QMainWindow
{
    Q_OBJECT

public:
    explicit BgWin(QWidget *parent = nullptr);
    ~BgWin() override;

    // Starts taking the pixels of the X screen numbered screenNumber on the
    // connection, in a thread of its own, for the next backdrop: the X
    // server copies them while the program starts. The connection must stay
    // open; without this call the backdrop takes them itself.
    static void startGrab(xcb_connection_t *connection, int screenNumber);

    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void coverScreens();

private:
    void watchScreen(QScreen *screen);
    void keepDialogsCentred();

    // Kept while the backdrop is shown, for the screens that change.
    std::unique_ptr<DimmedRoot> dimmed;
};
