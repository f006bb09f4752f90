#include "msgbox.h"
#include "testsupport.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextCodec>

#include <cerrno>
#include <cstring>

// The warning variants share the formatter and the box with the error
// variants, which end the process and are checked from a child process.
class TestMsgbox : public QObject
{
    Q_OBJECT

private:
    struct Shown
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        Qt::TextFormat format = Qt::AutoText;
        bool hasWindowIcon = false;
    };

    // Reads the box that the call opens, then closes it with OK.
    template<typename Call>
    Shown showAndRead(Call call)
    {
        Shown shown;
        answerModal<QMessageBox>([&shown](QMessageBox *box) {
            shown = {box->windowTitle(),     box->text(),       box->icon(),
                     box->standardButtons(), box->textFormat(), !box->windowIcon().isNull()};
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        call();
        return shown;
    }

private slots:
    void cleanup() { QTextCodec::setCodecForLocale(nullptr); }

    void warnAppendsErrnoText()
    {
        errno = EAGAIN;
        const Shown shown = showAndRead([] { warnDialog(nullptr, "flock()"); });
        QCOMPARE(shown.title, QStringLiteral("Warning"));
        QCOMPARE(shown.text,
                 QString("flock():\n%1\n").arg(QString::fromLocal8Bit(strerror(EAGAIN))));
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(shown.hasWindowIcon);
    }

    void warnxShowsTheTextAlone()
    {
        errno = EAGAIN;
        const Shown shown = showAndRead([] { warnxDialog(nullptr, "%s", "open(/tmp/x)"); });
        QCOMPARE(shown.text, QStringLiteral("open(/tmp/x)"));
    }

    void markupIsShownAsTyped()
    {
        const char *command = "<b>notify</b> && echo &amp;";
        const Shown shown = showAndRead([command] { warnxDialog(nullptr, "%s", command); });
        QCOMPARE(shown.format, Qt::PlainText);
        QCOMPARE(shown.text, QString::fromUtf8(command));
    }

    void longMessagesAreCut_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("withErrno");
        QTest::addColumn<QString>("expected");
        const QString errText = QString::fromLocal8Bit(strerror(ENOENT));
        const QString suffix = ":\n" + errText + "\n";
        QTest::newRow("short, errno suffix whole") << 10 << true << QString(10, 'x') + suffix;
        QTest::newRow("1023 characters, suffix left out") << 1023 << true << QString(1023, 'x');
        QTest::newRow("2000 characters cut to 1023") << 2000 << false << QString(1023, 'x');
        QTest::newRow("suffix cut to 1022 characters")
                << 1015 << true << (QString(1015, 'x') + suffix).left(1022);
    }

    void longMessagesAreCut()
    {
        QFETCH(int, length);
        QFETCH(bool, withErrno);
        QFETCH(QString, expected);
        const QByteArray message(length, 'x');
        errno = ENOENT;
        const Shown shown = showAndRead([&] {
            if (withErrno)
                warnDialog(nullptr, "%s", message.constData());
            else
                warnxDialog(nullptr, "%s", message.constData());
        });
        QCOMPARE(shown.text, expected);
    }

    void commandsInTheLocaleCharset_data()
    {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("shown");
        const QString cyrillic = QStringLiteral("exit 3 # \u043f\u0440\u043e\u0431\u0430");
        QTest::newRow("KOI8-R") << QByteArray("KOI8-R") << cyrillic << cyrillic;
        // 400 bytes are kept: 9 of "exit 3 # ", then 195 letters of two bytes and
        // half a letter, which goes.
        const QString ya(600, QChar(0x044f));
        QTest::newRow("long, UTF-8, cut between two letters")
                << QByteArray("UTF-8") << "exit 3 # " + ya
                << "exit 3 # " + ya.left(195) + QChar(0x2026);
        QTest::newRow("long, KOI8-R, which has no ellipsis")
                << QByteArray("KOI8-R") << "exit 3 # " + ya << "exit 3 # " + ya.left(391) + "...";
    }

    // The message keeps its end, and shows the command as the user wrote it.
    void commandsInTheLocaleCharset()
    {
        QFETCH(QByteArray, charset);
        QFETCH(QString, command);
        QFETCH(QString, shown);
        QTextCodec *codec = QTextCodec::codecForName(charset);
        QVERIFY(codec);
        QTextCodec::setCodecForLocale(codec);
        const QByteArray bytes = codec->fromUnicode(command);
        const Shown box = showAndRead([&] {
            warnxDialog(nullptr, "Command '%s' exited with code %d",
                        shortenedForMessage(bytes.constData()).constData(), 3);
        });
        QCOMPARE(box.text, "Command '" + shown + "' exited with code 3");
    }
};

QTEST_MAIN(TestMsgbox)
#include "tst_msgbox.moc"
