#include "testsupport.h"
#include "timerwin.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTest>

namespace {

QSpinBox *hoursBox(Timerwin &dialog)
{
    return dialog.findChild<QSpinBox *>(QStringLiteral("hoursBox"));
}

QSpinBox *minutesBox(Timerwin &dialog)
{
    return dialog.findChild<QSpinBox *>(QStringLiteral("minutesBox"));
}

// Replaces the number in the box as a user would: select it, then type.
void typeInto(QSpinBox *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

enum Edit { MinutesUp, MinutesDown, HoursDown, TypeMinutes };

} // namespace
Q_DECLARE_METATYPE(Edit)

class TestTimerwin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { failOnConnectWarnings(); }

    void firstValues()
    {
        Timerwin dialog;
        QCOMPARE(hoursBox(dialog)->value(), 0);
        QCOMPARE(hoursBox(dialog)->text(), QStringLiteral("0 Hours"));
        QCOMPARE(minutesBox(dialog)->value(), 1);
        QCOMPARE(minutesBox(dialog)->text(), QStringLiteral("1 Minutes"));
        QCOMPARE(dialog.getHours(), 0);
        QCOMPARE(dialog.getMinutes(), 1);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isModal());
    }

    void carries_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expectedHours");
        QTest::addColumn<int>("expectedMinutes");
        QTest::newRow("an ordinary step changes nothing else")
                << 1 << 30 << MinutesUp << "" << 1 << 31;
        QTest::newRow("never below one minute") << 0 << 1 << MinutesDown << "" << 0 << 1;
        QTest::newRow("59 minutes up carry into an hour") << 2 << 59 << MinutesUp << "" << 3 << 0;
        QTest::newRow("the carry stops at 99 hours") << 99 << 59 << MinutesUp << "" << 99 << 0;
        QTest::newRow("0 minutes down borrow the last hour")
                << 1 << 0 << MinutesDown << "" << 0 << 59;
        QTest::newRow("0 minutes down borrow an hour") << 5 << 0 << MinutesDown << "" << 4 << 59;
        QTest::newRow("hours down to 0 with 0 minutes") << 1 << 0 << HoursDown << "" << 0 << 1;
        QTest::newRow("typed 60 carries") << 1 << 30 << TypeMinutes << "60" << 2 << 0;
        QTest::newRow("typed -1 borrows") << 1 << 30 << TypeMinutes << "-1" << 0 << 59;
        QTest::newRow("typed -1 without hours") << 0 << 30 << TypeMinutes << "-1" << 0 << 1;
        QTest::newRow("typed 0 without hours") << 0 << 30 << TypeMinutes << "0" << 0 << 1;
        QTest::newRow("typed 0 with hours stays") << 2 << 30 << TypeMinutes << "0" << 2 << 0;
    }

    void carries()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(Edit, edit);
        QFETCH(QString, typed);
        QFETCH(int, expectedHours);
        QFETCH(int, expectedMinutes);
        Timerwin dialog;
        dialog.setHours(hours);
        dialog.setMinutes(minutes);
        QCOMPARE(hoursBox(dialog)->value(), hours);
        QCOMPARE(minutesBox(dialog)->value(), minutes);

        switch (edit) {
        case MinutesUp:
            QTest::keyClick(minutesBox(dialog), Qt::Key_Up);
            break;
        case MinutesDown:
            QTest::keyClick(minutesBox(dialog), Qt::Key_Down);
            break;
        case HoursDown:
            QTest::keyClick(hoursBox(dialog), Qt::Key_Down);
            break;
        case TypeMinutes:
            typeInto(minutesBox(dialog), typed);
            break;
        }
        QCOMPARE(hoursBox(dialog)->value(), expectedHours);
        QCOMPARE(minutesBox(dialog)->value(), expectedMinutes);
        // The boxes change, the accepted time does not until OK.
        QCOMPARE(dialog.getHours(), 0);
        QCOMPARE(dialog.getMinutes(), 1);
    }

    void presetToNothingGivesOneMinute()
    {
        Timerwin dialog;
        dialog.setMinutes(20);
        dialog.setHours(0);
        dialog.setMinutes(0);
        QCOMPARE(hoursBox(dialog)->value(), 0);
        QCOMPARE(minutesBox(dialog)->value(), 1);
    }

    void results_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("expectedResult");
        QTest::addColumn<int>("expectedHours");
        QTest::addColumn<int>("expectedMinutes");
        QTest::newRow("OK takes the boxes' values") << "ok" << int(QDialog::Accepted) << 2 << 15;
        QTest::newRow("Cancel keeps the first values")
                << "cancel" << int(QDialog::Rejected) << 0 << 1;
        QTest::newRow("Escape keeps the first values")
                << "escape" << int(QDialog::Rejected) << 0 << 1;
        QTest::newRow("closing keeps the first values")
                << "close" << int(QDialog::Rejected) << 0 << 1;
    }

    void results()
    {
        QFETCH(QString, how);
        QFETCH(int, expectedResult);
        QFETCH(int, expectedHours);
        QFETCH(int, expectedMinutes);
        Timerwin dialog;
        dialog.setHours(2);
        dialog.setMinutes(15);
        answerModal<Timerwin>([how](Timerwin *modal) {
            if (how == "ok")
                QTest::mouseClick(modal->findChild<QPushButton *>("okButton"), Qt::LeftButton);
            else if (how == "cancel")
                QTest::mouseClick(modal->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
            else if (how == "escape")
                QTest::keyClick(modal, Qt::Key_Escape);
            else
                modal->close();
        });
        QCOMPARE(dialog.exec(), expectedResult);
        QCOMPARE(dialog.getHours(), expectedHours);
        QCOMPARE(dialog.getMinutes(), expectedMinutes);
    }

    void okAtOnceGivesOneMinute()
    {
        Timerwin dialog;
        answerModal<Timerwin>([](Timerwin *modal) {
            QTest::mouseClick(modal->findChild<QPushButton *>("okButton"), Qt::LeftButton);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.getHours(), 0);
        QCOMPARE(dialog.getMinutes(), 1);
    }

    void windowKind_data()
    {
        QTest::addColumn<bool>("withParent");
        QTest::newRow("over the backdrop: frameless, on top, unmanaged") << true;
        QTest::newRow("alone: an ordinary decorated dialog") << false;
    }

    void windowKind()
    {
        QFETCH(bool, withParent);
        QWidget backdrop;
        Timerwin dialog(withParent ? &backdrop : nullptr);
        const Qt::WindowFlags overBackdrop =
                Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
        QCOMPARE(dialog.windowFlags() & overBackdrop,
                 withParent ? overBackdrop : Qt::WindowFlags());
        QVERIFY(dialog.isWindow());
        QCOMPARE(dialog.geometry(),
                 QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dialog.size(),
                                     QGuiApplication::primaryScreen()->geometry()));
    }
};

QTEST_MAIN(TestTimerwin)
#include "tst_timerwin.moc"
