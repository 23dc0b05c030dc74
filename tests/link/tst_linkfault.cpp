// Guards the words the technician gets when the timer cannot be reached: each
// cause is told apart from the counters and from the port's own error, in
// both languages, names the device and says what to do (the dialout group
// for a port this user may not open). A real pseudo-terminal shows that a
// missing device and one held by another program are told apart.
#include "linkfault.h"
#include "qtserialport.h"
#include "testsuite.h"
#include "troublemessages.h"

#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace vx;

Q_DECLARE_METATYPE(vx::LinkFault)
Q_DECLARE_METATYPE(vx::SerialPort::OpenFailure)
Q_DECLARE_METATYPE(vx::Trouble)

class TstLinkFault : public QObject
{
    Q_OBJECT

private slots:
    void faultFromCounters_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("timeouts");
        QTest::addColumn<int>("rejected");
        QTest::addColumn<bool>("unsent");
        QTest::addColumn<vx::LinkFault>("expected");
        QTest::newRow("tudo bem") << true << 0 << 0 << false << LinkFault::None;
        QTest::newRow("silencio") << true << 7 << 0 << false << LinkFault::NoReply;
        QTest::newRow("so rejeitadas") << true << 0 << 5 << false << LinkFault::RejectedReplies;
        QTest::newRow("rejeitadas a mais") << true << 2 << 3 << false << LinkFault::RejectedReplies;
        QTest::newRow("ruido num silencio") << true << 9 << 1 << false << LinkFault::NoReply;
        QTest::newRow("porta fechada") << false << 9 << 0 << false << LinkFault::PortUnavailable;
        QTest::newRow("adaptador retirado") << true << 4 << 0 << true << LinkFault::PortUnavailable;
    }
    void faultFromCounters()
    {
        QFETCH(bool, portOpen);
        QFETCH(int, timeouts);
        QFETCH(int, rejected);
        QFETCH(bool, unsent);
        QFETCH(vx::LinkFault, expected);
        LinkStats s;
        s.lastAttemptUnsent = unsent;
        s.timeoutsSinceAccepted = static_cast<quint64>(timeouts);
        s.rejectedSinceAccepted = static_cast<quint64>(rejected);
        QCOMPARE(linkFault(s, portOpen), expected);
    }

    // QSerialPort gives one code for "no permission" and "in use".
    void openFailureFromQt_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("mayReadWrite");
        QTest::addColumn<vx::SerialPort::OpenFailure>("expected");
        using F = SerialPort::OpenFailure;
        QTest::newRow("nao existe")
            << int(QSerialPort::DeviceNotFoundError) << false << false << F::Missing;
        QTest::newRow("sem permissao")
            << int(QSerialPort::PermissionError) << true << false << F::PermissionDenied;
        QTest::newRow("ocupada") << int(QSerialPort::PermissionError) << true << true << F::Busy;
        QTest::newRow("desaparecida")
            << int(QSerialPort::PermissionError) << false << false << F::Missing;
        QTest::newRow("outro erro") << int(QSerialPort::OpenError) << true << true << F::Other;
    }
    void openFailureFromQt()
    {
        QFETCH(int, error);
        QFETCH(bool, exists);
        QFETCH(bool, mayReadWrite);
        QFETCH(vx::SerialPort::OpenFailure, expected);
        QCOMPARE(QtSerialPort::classify(error, exists, mayReadWrite), expected);
    }

    void messages_data()
    {
        QTest::addColumn<vx::Trouble>("trouble");
        QTest::addColumn<QString>("pt");
        QTest::addColumn<QString>("en");
        QTest::newRow("porta inexistente") << Trouble::PortMissing << "não existe"
                                           << "does not exist";
        QTest::newRow("sem permissao")
            << Trouble::PortPermissionDenied << "sudo usermod -aG dialout $USER"
            << "sudo usermod -aG dialout $USER";
        QTest::newRow("ocupada") << Trouble::PortBusy << "outro programa"
                                 << "another program";
        QTest::newRow("sem resposta") << Trouble::NoReply << "Verifique o cabo"
                                      << "Check the cable";
        QTest::newRow("rejeitadas") << Trouble::RejectedReplies << "VX308"
                                    << "every reply is "
                                       "rejected";
    }
    void messages()
    {
        QFETCH(vx::Trouble, trouble);
        QFETCH(QString, pt);
        QFETCH(QString, en);
        const QString device = QStringLiteral("/dev/ttyUSB7");
        const QString inPortuguese = troubleMessage(trouble, 0, device);
        const QString inEnglish = troubleMessage(trouble, 1, device);
        QVERIFY2(inPortuguese.contains(pt) && inPortuguese.contains(device),
                 qPrintable(inPortuguese));
        QVERIFY2(inEnglish.contains(en) && inEnglish.contains(device), qPrintable(inEnglish));
        QVERIFY(inPortuguese != inEnglish || trouble == Trouble::PortPermissionDenied);
        QVERIFY(!inPortuguese.contains(QLatin1String("%")));
    }

    void everyTroubleHasItsOwnWords()
    {
        QStringList seen;
        for (const Text &t : kTroubleTexts) {
            const QString text = textIn(t, 1);
            QVERIFY2(!seen.contains(text), qPrintable(text));
            seen << text;
        }
    }

    // The real adapter: a device that is not there, and a pseudo-terminal
    // that another copy of the tool has open.
    void realPortFailures()
    {
        QTemporaryDir dir;
        PortMap missingMap;
        missingMap.set(1, dir.filePath(QStringLiteral("ttyNothing")));
        QtSerialPort missing(missingMap);
        QVERIFY(!missing.open());
        QCOMPARE(missing.openFailure(), SerialPort::OpenFailure::Missing);

        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        PortMap ptyMap;
        ptyMap.set(1, QString::fromLocal8Bit(::ptsname(master)));
        QtSerialPort first(ptyMap);
        QtSerialPort second(ptyMap);
        QVERIFY2(first.open(), qPrintable(first.errorText()));
        QCOMPARE(first.openFailure(), SerialPort::OpenFailure::None);
        QVERIFY(!second.open());
        QCOMPARE(second.openFailure(), SerialPort::OpenFailure::Busy);
        QVERIFY(troubleMessage(troubleOf(second.openFailure()), 1, second.deviceName())
                    .contains(ptyMap.pathFor(1)));
        first.close();
        QVERIFY2(second.open(), qPrintable(second.errorText()));
        QCOMPARE(second.openFailure(), SerialPort::OpenFailure::None);
        second.close();
        ::close(master);
    }
};

VX_TEST_CLASS(TstLinkFault, Core)
#include "tst_linkfault.moc"
