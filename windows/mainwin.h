// The dialog in which the user picks what to do.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QPair>
#include <QVector>

class QKeyEvent;
class QPushButton;

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
// by a Delay first; getAction() then gives its ActionId. Cancel rejects. Each
// action also has a letter key, told in its button's tooltip, that presses the
// button as a click would.
class Mainwin : public QDialog
{
    Q_OBJECT

public:
    explicit Mainwin(QWidget *parent);

    // The ActionId of the last accepted choice; meaningful only after exec()
    // returned QDialog::Accepted.
    int getAction() const;

protected:
    void keyPressEvent(QKeyEvent *e) override;

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
    void addLetterKey(const QString &key, QPushButton *button);
    QPushButton *letterButton(const QKeyEvent *e) const;

    int action = -1;
    QIcon logoutIcon;
    QIcon shutdownIcon;
    QIcon suspendIcon;
    QIcon timerIcon;
    QIcon rebootIcon;
    QIcon lockIcon;
    QVector<QPair<QChar, QPushButton *>> letterKeys;
};
