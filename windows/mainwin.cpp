#include "mainwin.h"

#include "delay.h"
#include "icons.h"
#include "placement.h"

#include <QBoxLayout>
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

    auto *picture = new QLabel;
    picture->setPixmap(shutdownIcon.pixmap(96, 96, QIcon::Normal, QIcon::Off));
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

    setModal(true);
    setWindowFlags(windowFlags() | Qt::Dialog | Qt::X11BypassWindowManagerHint
                   | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    showCentred(this);
}

int Mainwin::getAction() const
{
    return action;
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
