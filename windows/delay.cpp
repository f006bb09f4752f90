#include "delay.h"

#include "accessibility.h"
#include "icons.h"
#include "placement.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

Delay::Delay(int seconds, const QString &actionName, const QString &message, const QIcon &icon,
             QWidget *parent)
    : QDialog(parent),
      secondsLeft(seconds),
      tickTimer(new QTimer(this)),
      textLabel(new QLabel(QString())),
      message(message),
      announcer(new Announcer(this))
{
    const QIcon cancelIcon = stockIcon(QStyle::SP_DialogCancelButton);
    auto *labelRow = new QHBoxLayout;
    auto *buttonRow = new QHBoxLayout;
    auto *dialogLayout = new QVBoxLayout;
    auto *cancelButton = new QPushButton(cancelIcon, tr("Cancel"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    // The chooser hands over a text it has already translated.
    auto *actionButton = new QPushButton(icon, actionName);
    actionButton->setObjectName(QStringLiteral("actionButton"));
    const QString buttonStyle = QStringLiteral("padding: 5px 10px 5px 10px; text-align: left;");
    actionButton->setStyleSheet(buttonStyle);
    cancelButton->setStyleSheet(buttonStyle);
    //: Name of the confirmation's window, for screen readers; %1 is the
    //: action, as its button says
    setAccessibleName(tr("Confirm: %1").arg(actionName));
    setLabelText(message, seconds);
    setWindowIcon(icon);

    labelRow->setSpacing(20);
    labelRow->addWidget(textLabel, 1, Qt::AlignHCenter);
    buttonRow->setSpacing(2);
    buttonRow->addWidget(actionButton, 1, Qt::AlignRight);
    buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
    dialogLayout->setSpacing(10);
    dialogLayout->addLayout(labelRow);
    dialogLayout->addLayout(buttonRow);
    dialogLayout->setContentsMargins(15, 15, 15, 15);
    setLayout(dialogLayout);

    connect(tickTimer, SIGNAL(timeout()), this, SLOT(update()));
    connect(actionButton, SIGNAL(clicked()), this, SLOT(accept()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(reject()));

    setModal(true);
    setWindowFlags(windowFlags() | Qt::Dialog | Qt::X11BypassWindowManagerHint
                   | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Normally the chooser is the larger of the two and the dialog covers it
    // exactly. A long translated text can make the dialog's content wider: it
    // then keeps the size it needs and is centred all the same, rather than
    // being stretched off the chooser to one side.
    showCentred(this, parent->size().expandedTo(minimumSizeHint()));

    tickTimer->start(1000);
}

void Delay::setLabelText(const QString &message, int seconds)
{
    if (seconds <= 0)
        return;
    //: The unit after the seconds left in "Logging out in" and the like,
    //: in the form that number asks for
    const QString unit = tr("seconds", nullptr, seconds);
    textLabel->setText(QString(message + QLatin1String(" %1 %2")).arg(seconds).arg(unit));
}

void Delay::update()
{
    // The count stops falling once it has run out, so a long-lived dialog
    // cannot wrap it around.
    if (secondsLeft <= 0) {
        accept();
        return;
    }
    --secondsLeft;
    setLabelText(message, secondsLeft);
    // The first text is read out with the window as it appears.
    if (worthAnnouncing(secondsLeft))
        announcer->announce(textLabel->text());
}

void Delay::closeEvent(QCloseEvent *event)
{
    hide();
    event->ignore();
}

void Delay::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape)
        reject();
    QDialog::keyPressEvent(e);
}
