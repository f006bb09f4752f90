#include "timerwin.h"

#include "icons.h"
#include "placement.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

Timerwin::Timerwin(QWidget *parent) : QDialog(parent), hours(0), minutes(1)
{
    setObjectName(QStringLiteral("timerwin"));
    const QIcon timerIcon = clockIcon();
    const QIcon okIcon = stockIcon(QStyle::SP_DialogOkButton);
    const QIcon cancelIcon = stockIcon(QStyle::SP_DialogCancelButton);

    hoursBox = new QSpinBox;
    hoursBox->setObjectName(QStringLiteral("hoursBox"));
    minutesBox = new QSpinBox;
    minutesBox->setObjectName(QStringLiteral("minutesBox"));
    QLabel *imageLabel = new QLabel;
    QLabel *textLabel = new QLabel(tr("Set shutdown time in hours and/or minutes:"));
    QPushButton *okButton = new QPushButton(okIcon, tr("&Ok"));
    okButton->setObjectName(QStringLiteral("okButton"));
    QPushButton *cancelButton = new QPushButton(cancelIcon, tr("&Cancel"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    imageLabel->setPixmap(timerIcon.pixmap(96, 96, QIcon::Normal, QIcon::Off));
    //: Name of the timer dialog's picture, for screen readers
    imageLabel->setAccessibleName(tr("Clock"));
    //: Name of the timer dialog's window, for screen readers
    setAccessibleName(tr("Shutdown timer"));
    // The question is read out as the dialog's text, and each entry says its
    // unit with its number: a description or a name would say them twice.
    //: Suffix of the hours entry, after the number
    hoursBox->setSuffix(tr(" Hours"));
    //: Suffix of the minutes entry, after the number
    minutesBox->setSuffix(tr(" Minutes"));
    // -1 and 60 never stay in the box: checkValue() turns them into a borrow
    // from or a carry into the hours.
    minutesBox->setRange(-1, 60);
    minutesBox->setValue(minutes);
    hoursBox->setValue(hours);

    QHBoxLayout *entryRow = new QHBoxLayout;
    entryRow->addWidget(hoursBox);
    entryRow->addWidget(minutesBox);
    QVBoxLayout *textColumn = new QVBoxLayout;
    textColumn->addWidget(textLabel, 1, Qt::AlignHCenter);
    textColumn->addLayout(entryRow);
    QHBoxLayout *topRow = new QHBoxLayout;
    topRow->addWidget(imageLabel);
    topRow->addLayout(textColumn);
    QHBoxLayout *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(okButton, 1, Qt::AlignRight);
    buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
    QVBoxLayout *mainLayout = new QVBoxLayout(this);
    mainLayout->setSpacing(10);
    mainLayout->addLayout(topRow);
    mainLayout->addLayout(buttonRow);
    mainLayout->setContentsMargins(15, 15, 15, 15);

    setWindowIcon(timerIcon);

    connect(okButton, SIGNAL(clicked()), this, SLOT(setTimer()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(reject()));
    connect(minutesBox, SIGNAL(valueChanged(int)), this, SLOT(checkValue()));
    connect(hoursBox, SIGNAL(valueChanged(int)), this, SLOT(checkValue()));

    setModal(true);
    if (parent) {
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint
                       | Qt::X11BypassWindowManagerHint);
        // Over the backdrop the program holds the keyboard, and a popup would
        // take the grab over and drop it on closing. A spin box's is its only one.
        hoursBox->setContextMenuPolicy(Qt::NoContextMenu);
        minutesBox->setContextMenuPolicy(Qt::NoContextMenu);
    }

    showCentred(this);
}

int Timerwin::getHours() const
{
    return hours;
}

int Timerwin::getMinutes() const
{
    return minutes;
}

void Timerwin::setHours(int value)
{
    hoursBox->setValue(value);
}

void Timerwin::setMinutes(int value)
{
    minutesBox->setValue(value);
}

void Timerwin::setTimer()
{
    hours = hoursBox->value();
    minutes = minutesBox->value();
    accept();
}

// Keeps the total at one minute or more and turns the minutes' outer values
// into carries; signals stay blocked so that its own changes do not call it again.
void Timerwin::checkValue()
{
    const bool minutesBlocked = minutesBox->blockSignals(true);
    const bool hoursBlocked = hoursBox->blockSignals(true);
    if (hoursBox->value() == 0 && minutesBox->value() == 0) {
        minutesBox->setValue(1);
    } else if (minutesBox->value() == 60) {
        minutesBox->setValue(0);
        hoursBox->setValue(hoursBox->value() + 1);
    } else if (minutesBox->value() == -1) {
        if (hoursBox->value() <= 0) {
            minutesBox->setValue(1);
        } else {
            minutesBox->setValue(59);
            hoursBox->setValue(hoursBox->value() - 1);
        }
    }
    minutesBox->blockSignals(minutesBlocked);
    hoursBox->blockSignals(hoursBlocked);
}
