// The dimmed copy of every screen that lies behind the chooser.
#pragma once

#include <QMainWindow>

#include <memory>

class QScreen;
class RootCapture;

// Grabs each screen, dims the picture and shows it full screen on that screen:
// on X from a pixmap of the server that the capture fills (RootCapture);
// elsewhere, and on displays of other pixel formats, Qt grabs and paints them.
// While it is shown, every screen stays covered as screens come, go and
// change their size, and the dialogs parented to it stay in the middle of the
// primary screen.
// Deleting the backdrop removes those windows and every dialog parented to it.
class BgWin : public QMainWindow
{
    Q_OBJECT

public:
    explicit BgWin(QWidget *parent = nullptr);
    // Shows the pixels that the capture has started taking, if it has.
    explicit BgWin(std::unique_ptr<RootCapture> started, QWidget *parent = nullptr);
    ~BgWin() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void coverScreens();

private:
    void watchScreen(QScreen *screen);
    void keepDialogsCentred();

    // Kept while the backdrop is shown, for the screens that change.
    std::unique_ptr<RootCapture> capture;
};
