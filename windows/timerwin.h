// The dialog that asks how long from now the machine is to shut down.
#pragma once

#include <QDialog>

class QSpinBox;

class Timerwin : public QDialog
{
    Q_OBJECT

public:
    // With a parent (the screen backdrop) the dialog is frameless and stays on
    // top; without one it is an ordinary decorated dialog. Either way it shows
    // itself, centred on the primary screen.
    explicit Timerwin(QWidget *parent = nullptr);

    // The time accepted with OK: 0 hours and 1 minute until then.
    int getHours() const;
    int getMinutes() const;

    // Preset the entries; the carry rules apply as if the user had typed the value.
    void setHours(int value);
    void setMinutes(int value);

private slots:
    void setTimer();
    void checkValue();

private:
    int hours;
    int minutes;
    QSpinBox *hoursBox;
    QSpinBox *minutesBox;
};
