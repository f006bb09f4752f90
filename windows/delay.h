// The countdown that confirms an action chosen in the chooser.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>

class Announcer;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QTimer;

// Counts down once a second and accepts itself when the count has run out; the
// action button accepts at once, Cancel and Escape reject, and a close request
// only hides the dialog. It takes its parent's size and is centred on the
// primary screen, so it lies exactly over the chooser; the parent must not be null.
class Delay : public QDialog
{
    Q_OBJECT

public:
    Delay(int seconds, const QString &actionName, const QString &message, const QIcon &icon,
          QWidget *parent);

private slots:
    // One tick of the countdown. It hides QWidget::update(): the timer is
    // connected by name and must reach this one.
    void update();
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void setLabelText(const QString &message, int seconds);

    int secondsLeft;
    QTimer *tickTimer;
    QLabel *textLabel;
    QString message;
    Announcer *announcer;
};
