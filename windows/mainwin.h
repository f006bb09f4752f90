// The dialog in which the user picks what to do.
#pragma once

#include <QDialog>
#include <QIcon>

// The codes getAction() reports.
enum ActionId {
    LogoutAction = 0,
    RebootAction = 1,
    ShutdownAction = 2,
    SuspendAction = 3,
    TimerAction = 4,
    LockAction = 5
};

// Modal and centred on the primary screen. Each action but Timer is confirmed
// by a Delay first; getAction() then gives its ActionId. Cancel rejects.
class Mainwin : public QDialog
{
    Q_OBJECT

public:
    explicit Mainwin(QWidget *parent);

    // The ActionId of the last accepted choice; meaningful only after exec()
    // returned QDialog::Accepted.
    int getAction() const;

private slots:
    void logoutClicked();
    void rebootClicked();
    void shutdownClicked();
    void suspendClicked();
    void timerClicked();
    void lockClicked();

private:
    void confirm(ActionId actionId, const QString &actionName, const QString &message,
                 const QIcon &icon);

    int action = -1;
    QIcon logoutIcon;
    QIcon shutdownIcon;
    QIcon suspendIcon;
    QIcon timerIcon;
    QIcon rebootIcon;
    QIcon lockIcon;
};
