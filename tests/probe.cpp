// Linked into the probe programs: drives their dialogs from inside, as a user
// would, so that tests can run code paths that end the process.
// - Every message box is reported on standard output and closed, with OK or
//   as PROBE_BOX_CLOSE says: "escape" (the key) or "close" (the window's
//   close request):
//       BOX <title>|<icon>
//       <text>
//       END
// - The buttons named in PROBE_CLICKS (texts separated by ',') are clicked one
//   by one in the dialog on top.
// - Once the clicks have run out, any other dialog on top is rejected.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

QStringList pendingClicks;

void clickLater(QAbstractButton *button)
{
    // Queued, so that a dialog the click opens runs its loop outside this poll.
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
}

void closeLater(QMessageBox *box)
{
    const QByteArray how = qgetenv("PROBE_BOX_CLOSE");
    if (how == "escape")
        QCoreApplication::postEvent(
                box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    else if (how == "close")
        QMetaObject::invokeMethod(box, "close", Qt::QueuedConnection);
    else
        clickLater(box->button(QMessageBox::Ok));
}

QAbstractButton *findButton(QWidget *dialog, const QString &text)
{
    const auto buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->isVisible() && button->text() == text)
            return button;
    }
    return nullptr;
}

void poll()
{
    QWidget *top = QApplication::activeModalWidget();
    if (!top || !top->isVisible() || top->property("probeHandled").toBool())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(top)) {
        printf("BOX %s|%d\n%s\nEND\n", qPrintable(box->windowTitle()), box->icon(),
               qPrintable(box->text()));
        fflush(stdout);
        top->setProperty("probeHandled", true);
        closeLater(box);
        return;
    }
    if (!pendingClicks.isEmpty()) {
        if (QAbstractButton *button = findButton(top, pendingClicks.first())) {
            printf("CLICK %s\n", qPrintable(pendingClicks.takeFirst()));
            fflush(stdout);
            clickLater(button);
        }
        return;
    }
    if (auto *dialog = qobject_cast<QDialog *>(top)) {
        printf("REJECT %s\n", dialog->metaObject()->className());
        fflush(stdout);
        top->setProperty("probeHandled", true);
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    }
}

void startProbe()
{
    pendingClicks = QString::fromLocal8Bit(qgetenv("PROBE_CLICKS")).split(',', Qt::SkipEmptyParts);
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, poll);
    timer->start(20);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
