#include "mainwin.h"

#include "delay.h"
#include "deliberatekeys.h"
#include "icons.h"
#include "keyboardlayout.h"
#include "placement.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int confirmSeconds = 10;

QPushButton *actionButton(const QIcon &icon, const QString &text, const char *objectName)
{
    auto *button = new QPushButton(icon, text);
    button->setObjectName(QLatin1String(objectName));
    button->setStyleSheet(QStringLiteral("padding: 2px; text-align: left;"));
    return button;
}

// Shift and Caps Lock change a letter's case, not the key it is. Both ways are
// compared, as some letters map to their other case only one way (ẞ to ß).
bool sameLetter(QChar a, QChar b)
{
    return a.toUpper() == b.toUpper() || a.toLower() == b.toLower();
}

} // namespace

Mainwin::Mainwin(QWidget *parent)
    : QDialog(parent),
      logoutIcon(::logoutIcon()),
      shutdownIcon(::shutdownIcon()),
      suspendIcon(::suspendIcon()),
      timerIcon(::clockIcon()),
      rebootIcon(::rebootIcon()),
      lockIcon(::lockIcon())
{
    const QIcon cancelIcon = stockIcon(QStyle::SP_DialogCancelButton);

    //: Name of the chooser's window, for screen readers
    setAccessibleName(tr("End the session"));
    auto *picture = new QLabel;
    picture->setPixmap(shutdownIcon.pixmap(96, 96, QIcon::Normal, QIcon::Off));
    //: Name of the chooser's picture, the shutdown icon, for screen readers
    picture->setAccessibleName(tr("Power symbol"));
    QPushButton *logoutButton = actionButton(logoutIcon, tr("Logout"), "logoutButton");
    QPushButton *rebootButton = actionButton(rebootIcon, tr("Reboot system"), "rebootButton");
    QPushButton *shutdownButton =
            actionButton(shutdownIcon, tr("Shutdown system"), "shutdownButton");
    QPushButton *suspendButton = actionButton(suspendIcon, tr("Suspend system"), "suspendButton");
    QPushButton *lockButton = actionButton(lockIcon, tr("Lock screen"), "lockButton");
    QPushButton *timerButton = actionButton(timerIcon, tr("Timer"), "timerButton");
    QPushButton *cancelButton = actionButton(cancelIcon, tr("Cancel"), "cancelButton");

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->setSpacing(5);
    for (QPushButton *button : {logoutButton, rebootButton, shutdownButton, suspendButton,
                                lockButton, timerButton, cancelButton})
        buttonColumn->addWidget(button);
    auto *row = new QHBoxLayout;
    row->addWidget(picture, 0);
    row->addSpacing(20);
    row->addLayout(buttonColumn);
    auto *dialogLayout = new QVBoxLayout;
    dialogLayout->addLayout(row);
    dialogLayout->setContentsMargins(15, 15, 15, 15);
    setLayout(dialogLayout);

    connect(logoutButton, SIGNAL(clicked()), this, SLOT(logoutClicked()));
    connect(rebootButton, SIGNAL(clicked()), this, SLOT(rebootClicked()));
    connect(shutdownButton, SIGNAL(clicked()), this, SLOT(shutdownClicked()));
    connect(suspendButton, SIGNAL(clicked()), this, SLOT(suspendClicked()));
    connect(lockButton, SIGNAL(clicked()), this, SLOT(lockClicked()));
    connect(timerButton, SIGNAL(clicked()), this, SLOT(timerClicked()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(reject()));

    //: Key for "Logout" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("L"), logoutButton);
    //: Key for "Reboot system" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("R"), rebootButton);
    //: Key for "Shutdown system" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("S"), shutdownButton);
    //: Key for "Suspend system" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("U"), suspendButton);
    //: Key for "Lock screen" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("K"), lockButton);
    //: Key for "Timer" in the chooser: one letter, typed without AltGr on the
    //: language's usual keyboard, and not another action's key
    addLetterKey(tr("T"), timerButton);

    setModal(true);
    setWindowFlags(windowFlags() | Qt::Dialog | Qt::X11BypassWindowManagerHint
                   | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    showCentred(this);
}

int Mainwin::getAction() const
{
    return action;
}

void Mainwin::addLetterKey(const QString &key, QPushButton *button)
{
    if (key.size() != 1)
        return; // a broken catalogue: the button still works, only without its key
    letterKeys.append({key.at(0), button});
    //: Tooltip of each action button in the chooser; %1 is the letter that presses it
    const QString told = tr("Key: %1").arg(key);
    button->setToolTip(told);
    button->setAccessibleDescription(told);
}

// A letter presses its action's button. The keys only live here: the Delay is a
// window of its own, so a letter typed in it never reaches the chooser.
void Mainwin::keyPressEvent(QKeyEvent *e)
{
    // A key held down presses its button once.
    if (isDeliberateLetter(e) && !e->isAutoRepeat() && e->text().size() == 1) {
        if (QPushButton *button = letterButton(e)) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(e);
}

// The button of the letter typed or, where none has it, of a letter that the
// same key types in another group of the keyboard's layout: an action's
// letter then works in a Russian group as in the Latin one, whichever of the
// two the interface's language uses.
QPushButton *Mainwin::letterButton(const QKeyEvent *e) const
{
    for (const QChar letter : e->text() + keyLetters(e->nativeScanCode())) {
        for (const auto &letterKey : letterKeys) {
            if (sameLetter(letterKey.first, letter))
                return letterKey.second;
        }
    }
    return nullptr;
}

void Mainwin::logoutClicked()
{
    confirm(LogoutAction, tr("Logout"), tr("Logging out in"), logoutIcon);
}

void Mainwin::rebootClicked()
{
    confirm(RebootAction, tr("Reboot system"), tr("Rebooting in"), rebootIcon);
}

void Mainwin::shutdownClicked()
{
    confirm(ShutdownAction, tr("Shutdown system"), tr("Shutting down in"), shutdownIcon);
}

void Mainwin::suspendClicked()
{
    confirm(SuspendAction, tr("Suspend system"), tr("Suspending system in"), suspendIcon);
}

void Mainwin::timerClicked()
{
    action = TimerAction;
    accept();
}

void Mainwin::lockClicked()
{
    confirm(LockAction, tr("Lock screen"), tr("Locking screen in"), lockIcon);
}

void Mainwin::confirm(ActionId actionId, const QString &actionName, const QString &message,
                      const QIcon &icon)
{
    Delay delay(confirmSeconds, actionName, message, icon, this);
    if (delay.exec() == QDialog::Accepted) {
        action = actionId;
        accept();
        return;
    }
    // The keyboard went with the closed confirmation; the chooser is back.
    activateWindow();
}
