// Guards the traffic log a technician sends with a problem report: every
// exchange must be there in the order it happened, each line must name the
// command, the field behind the address and the value the window would show,
// and a rejected reply must say why, or the log cannot tell a bad cable from
// a bad timer. The log goes out with the report, so it must never carry the
// timer's passwords, neither as values nor as the frame's data characters,
// while every other character still shows what went where.
#include "clock.h"
#include "emulatedport.h"
#include "fixedclock.h"
#include "framemeaning.h"
#include "link.h"
#include "messages.h"
#include "recordingmessages.h"
#include "testsuite.h"
#include "tracefile.h"
#include "traffictrace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;
using namespace vx::emu;

namespace {

// A reply as the timer sends it to a memory read: the request's header, the
// data bytes low nibble first.
QByteArray readReply(uint8_t address, uint8_t count, std::initializer_list<uint8_t> bytes)
{
    TxData data;
    data.fill('0');
    int k = 0;
    for (uint8_t b : bytes)
        putByte(data, k++, b);
    const QByteArray request = buildRequest(Command::ReadMemory, address, count, {});
    return buildReply(request.mid(1, 13), QByteArray(data.data(), kDataLength));
}

QByteArray withChar(QByteArray frame, int at, char c)
{
    frame[at] = c;
    return frame;
}

QByteArray writeRequest(uint8_t address, std::initializer_list<uint8_t> bytes)
{
    TxData data;
    data.fill('0');
    int k = 0;
    for (uint8_t b : bytes)
        putByte(data, k++, b);
    return buildRequest(Command::WriteMemory, address, uint8_t(bytes.size()), data);
}

// The frame as the log must show it: the data characters of the given data
// bytes masked, every other character as it was.
QByteArray masked(QByteArray frame, const QList<int> &bytes)
{
    for (int k : bytes)
        frame[kDataOffset + 2 * k] = frame[kDataOffset + 2 * k + 1] = '*';
    return frame;
}

// The passwords a unit is set up with in these tests, 1234 and 4321, as
// bytes low first.
constexpr uint8_t kTariffPassword[] = {0xD2, 0x04};
constexpr uint8_t kClockPassword[] = {0xE1, 0x10};

// The word after the time stamp: sent, received, rejected, time-out.
QString kindOf(const QString &line)
{
    return line.mid(13).section(QLatin1Char(' '), 0, 0);
}

} // namespace

class TstTrafficTrace : public QObject
{
    Q_OBJECT
private slots:
    // One read of Text_S00 over a line with the given fault: the kinds of
    // lines in order, and what the line of the fault must say.
    void exchange_data()
    {
        QTest::addColumn<unsigned>("fault");
        QTest::addColumn<bool>("pulled"); // the adapter is out until the first time-out
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<int>("telling");
        QTest::addColumn<QString>("says");
        QTest::newRow("aceite") << Fault::None << false << QStringList{"sent", "received"} << 1
                                << "ReadMemory address 4 (Text_S00), 2 bytes: Text_S00 = 12,50";
        QTest::newRow("sem resposta")
            << Fault::NoReply << false << QStringList{"sent", "time-out", "sent", "received"} << 1
            << "no reply within 300 ms to ReadMemory address 4 (Text_S00), 2 bytes";
        QTest::newRow("checksum errado")
            << Fault::BadChecksum << false << QStringList{"sent", "rejected", "sent", "received"}
            << 1 << "bad checksum: the frame says";
        QTest::newRow("ruido antes")
            << Fault::GarbagePrefix << false << QStringList{"sent", "rejected", "sent", "received"}
            << 1 << "\\x00\\xFF!AF0000010402";
        QTest::newRow("bytes a mais")
            << Fault::ExtraBytes << false << QStringList{"sent", "received", "rejected"} << 2
            << "rejected XY  2 characters after the reply, thrown away";
        QTest::newRow("adaptador retirado")
            << Fault::None << true << QStringList{"unsent", "time-out", "sent", "received"} << 0
            << "unsent   #AF0000010402000000000000002%  port refused the request (";
    }
    void exchange()
    {
        QFETCH(unsigned, fault);
        QFETCH(bool, pulled);
        QFETCH(QStringList, kinds);
        QFETCH(int, telling);
        QFETCH(QString, says);
        // The line's intervals at 5 %: the 300 ms time-out lasts 15 ms.
        FixedClock clock(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30, 120)), 0.05);
        EmulatedPort port(clock);
        port.device().setByte(4, 0xE2); // 1250 cents
        port.device().setByte(5, 0x04);
        RecordingMessages messages;
        Link link(port, messages, clock);
        link.setTimeoutMs(300);
        TrafficTrace trace(clock);
        QStringList lines;
        connect(&trace, &TrafficTrace::lineAdded, this, [&](const QString &l) {
            lines << l;
            if (kindOf(l) == QLatin1String("time-out")) port.setGone(0);
        });
        trace.follow(link);
        QVERIFY(link.openIfClosed());
        if (pulled) port.setGone(-1);
        port.faults().failNext(1, fault);
        QVERIFY(link.enviar_trama(Command::ReadMemory, 4, 2));

        QStringList seen;
        for (const QString &l : lines)
            seen << kindOf(l);
        QCOMPARE(seen, kinds);
        QVERIFY2(lines.at(telling).contains(says), qPrintable(lines.join(QLatin1Char('\n'))));
        QCOMPARE(lines.at(kinds.indexOf(QStringLiteral("sent"))),
                 QStringLiteral("14:05:30.120 sent     "
                                "#AF0000010402000000000000002%  ReadMemory address 4 "
                                "(Text_S00), 2 bytes"));
        QVERIFY(lines.last().endsWith(QLatin1String("Text_S00 = 12,50")) ||
                kindOf(lines.last()) == QLatin1String("rejected"));
    }

    // Frames in words: the command by name, the field behind the address,
    // the value in the window's text form.
    void meaning_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("pedido de leitura") << buildRequest(Command::ReadMemory, 32, 3, {})
                                           << "ReadMemory address 32 (Text_acumulado), 3 bytes";
        QTest::newRow("dinheiro de 3 bytes")
            << readReply(32, 3, {0x39, 0x30, 0x00})
            << "ReadMemory address 32 (Text_acumulado), 3 bytes: Text_acumulado = 123,45";
        QTest::newRow("dois campos numa leitura")
            << readReply(26, 5, {12, 3, 25, 10, 30})
            << "ReadMemory address 26 (Text_act_data), 5 bytes: Text_act_data = 12-03-2025, "
               "Text_act_hora = 10:30";
        QTest::newRow("codigo de fabrico")
            << readReply(43, 4, {3, 15, 24, 'A'})
            << "ReadMemory address 43 (Text_numfab_num), 4 bytes: Text_numfab_num = 3, "
               "text_numfab_ano = A2415";
        QTest::newRow("a meio de um campo")
            << readReply(5, 1, {7}) << "ReadMemory address 5 (Text_S00+1), 1 byte: bytes 07";
        QTest::newRow("endereco sem campo")
            << readReply(198, 1, {0x35}) << "ReadMemory address 198, 1 byte: bytes 35";
        TxData price;
        price.fill('0');
        putByte(price, 0, 0x96); // 150 cents
        QTest::newRow("escrita") << buildRequest(Command::WriteMemory, 6, 2, price)
                                 << "WriteMemory address 6 (Text_S08), 2 bytes: Text_S08 = 1,50";
        TxData clockData;
        clockData.fill('0');
        const uint8_t now[] = {5, 14, 3, 1, 12, 26};
        for (int k = 0; k < 6; ++k)
            putByte(clockData, k, now[k]);
        QTest::newRow("acertar relogio") << buildRequest(Command::SetClock, 30, 0, clockData)
                                         << "SetClock 01-12-2026 14:05, weekday 3, second 30";
        QTest::newRow("comando desconhecido")
            << buildRequest(static_cast<Command>(5), 0, 0, {}) << "Command 5";
        QTest::newRow("visor") << buildRequest(Command::Display, 3, 'E', {})
                               << "Display position 3, code 69";
    }
    void meaning()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, meaning);
        QCOMPARE(frameMeaning(frame), meaning);
    }

    // Every frame that reads or writes a password is logged with the
    // password's data characters masked and its value as "masked"; the
    // header and checksum characters stay, and other fields keep their
    // values.
    void passwordsMasked_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("why");                  // -1 accepted, else the ReplyRejection
        QTest::addColumn<QList<int>>("requestMasked"); // data bytes
        QTest::addColumn<QList<int>>("replyMasked");
        QTest::addColumn<QString>("says");
        const auto [t0, t1] = kTariffPassword;
        const auto [c0, c1] = kClockPassword;
        const auto read = [](uint8_t a, uint8_t n) {
            return buildRequest(Command::ReadMemory, a, n, {});
        };
        const auto writeReply = [](const QByteArray &request) {
            return buildReply(request.mid(1, 13), request.mid(kDataOffset, kDataLength));
        };
        const QByteArray damaged = withChar(readReply(2, 2, {c0, c1}), 26, 'F');
        QTest::newRow("ler 0/2") << read(0, 2) << readReply(0, 2, {t0, t1}) << -1 << QList<int>{}
                                 << QList<int>{0, 1}
                                 << "ReadMemory address 0 (Text_pwdtarifas), 2 bytes: "
                                    "Text_pwdtarifas = masked";
        QTest::newRow("ler 2/2") << read(2, 2) << readReply(2, 2, {c0, c1}) << -1 << QList<int>{}
                                 << QList<int>{0, 1}
                                 << "ReadMemory address 2 (Text_pwdrelogio), 2 bytes: "
                                    "Text_pwdrelogio = masked";
        QTest::newRow("ler 0/4") << read(0, 4) << readReply(0, 4, {t0, t1, c0, c1}) << -1
                                 << QList<int>{} << QList<int>{0, 1, 2, 3}
                                 << "4 bytes: Text_pwdtarifas = masked, Text_pwdrelogio = masked";
        QTest::newRow("ler 1/2, a meio")
            << read(1, 2) << readReply(1, 2, {t1, c0}) << -1 << QList<int>{} << QList<int>{0, 1}
            << "2 bytes: bytes ** **, password bytes masked";
        QTest::newRow("ler 3/3, vizinhos")
            << read(3, 3) << readReply(3, 3, {c1, 0xC8, 0x00}) << -1 << QList<int>{}
            << QList<int>{0}
            << "(Text_pwdrelogio+1), 3 bytes: Text_S00 = 2,00, password bytes masked";
        const QByteArray writeTariff = writeRequest(0, {t0, t1});
        QTest::newRow("escrever 0")
            << writeTariff << writeReply(writeTariff) << -1 << QList<int>{0, 1} << QList<int>{0, 1}
            << "WriteMemory address 0 (Text_pwdtarifas), 2 bytes: Text_pwdtarifas = masked";
        const QByteArray writeClock = writeRequest(2, {c0, c1});
        QTest::newRow("escrever 2")
            << writeClock << writeReply(writeClock) << -1 << QList<int>{0, 1} << QList<int>{0, 1}
            << "WriteMemory address 2 (Text_pwdrelogio), 2 bytes, password bytes masked";
        QTest::newRow("ler 4/2 intacto")
            << read(4, 2) << readReply(4, 2, {0xC8, 0x00}) << -1 << QList<int>{} << QList<int>{}
            << "ReadMemory address 4 (Text_S00), 2 bytes: Text_S00 = 2,00";
        QTest::newRow("rejeitada de 2") << read(2, 2) << damaged << int(ReplyRejection::Damaged)
                                        << QList<int>{} << QList<int>{0, 1} << "bad checksum";
        // Noise turned the reply's index into 6: the request says what the
        // data characters hold.
        QTest::newRow("indice estragado")
            << read(2, 2) << withChar(damaged, 10, '6') << int(ReplyRejection::Damaged)
            << QList<int>{} << QList<int>{0, 1} << "bad checksum";
        QTest::newRow("tardia") << read(4, 2) << readReply(0, 2, {t0, t1})
                                << int(ReplyRejection::Late) << QList<int>{} << QList<int>{0, 1}
                                << "late reply to an earlier request: ReadMemory address 0 "
                                   "(Text_pwdtarifas), 2 bytes: Text_pwdtarifas = masked";
    }
    void passwordsMasked()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QFETCH(int, why);
        QFETCH(QList<int>, requestMasked);
        QFETCH(QList<int>, replyMasked);
        QFETCH(QString, says);
        FixedClock clock(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30, 120)));
        TrafficTrace trace(clock);
        QStringList lines;
        connect(&trace, &TrafficTrace::lineAdded, this, [&](const QString &l) { lines << l; });
        trace.requestSent(request);
        if (why < 0)
            trace.replyAccepted(reply);
        else
            trace.replyRejected(reply, ReplyRejection(why));
        QCOMPARE(lines.size(), 2);
        // "hh:mm:ss.zzz kind     " and the characters.
        QCOMPARE(lines.at(0).mid(22, kFrameLength).toLatin1(), masked(request, requestMasked));
        QCOMPARE(lines.at(1).mid(22, kFrameLength).toLatin1(), masked(reply, replyMasked));
        const QString all = lines.join(QLatin1Char('\n'));
        QVERIFY2(all.contains(says), qPrintable(all));
        for (const char *password : {"1234", "4321"})
            QVERIFY2(!all.contains(QLatin1String(password)), qPrintable(all));
    }

    // A trace file opens with the line that says the passwords are masked,
    // before any frame.
    void traceFileStartsWithHeader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.trace"));
        {
            TraceFile file;
            QString error;
            QVERIFY2(file.open(path, &error), qPrintable(error));
            QVERIFY(file.write(QStringLiteral("frame")));
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString header = TrafficTrace::headerLine();
        QCOMPARE(QString::fromUtf8(f.readAll()), header + QStringLiteral("\nframe\n"));
        QVERIFY2(header.contains(QLatin1String("Text_pwdtarifas and Text_pwdrelogio, addresses 0 "
                                               "to 3) are masked")),
                 qPrintable(header));
    }

    // Why characters are not a reply: each defect named so that a bad cable
    // (noise, cut frames) is told from a timer that sums wrong.
    void rejection_data()
    {
        const QByteArray good = readReply(4, 2, {0xE2, 0x04});
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("why");
        QTest::addColumn<QString>("says");
        QTest::newRow("bom") << good << int(ReplyRejection::Damaged) << "";
        QTest::newRow("curto") << good.left(20) << int(ReplyRejection::Damaged)
                               << "wrong length: 20 characters, a reply has 29";
        QTest::newRow("cortado") << (good.left(20) + "%" + good.left(8))
                                 << int(ReplyRejection::Damaged)
                                 << "wrong length: '%' after 21 characters, a reply has 29";
        QTest::newRow("ruido") << (QByteArray("\xFF\x00", 2) + good.left(27))
                               << int(ReplyRejection::Damaged)
                               << "2 characters of noise before the reply's '!'";
        QTest::newRow("sem inicio")
            << withChar(good, 0, '?') << int(ReplyRejection::Damaged) << "does not start with '!'";
        QTest::newRow("minuscula") << withChar(good, 15, 'e') << int(ReplyRejection::Damaged)
                                   << "character 16 is e, not an upper-case hex digit";
        QTest::newRow("checksum") << withChar(good, 26, good.at(26) == '0' ? '1' : '0')
                                  << int(ReplyRejection::Damaged) << "bad checksum";
        QTest::newRow("sem fim") << withChar(good, 28, '$') << int(ReplyRejection::Damaged)
                                 << "does not end with '%'";
        QTest::newRow("tardia") << good << int(ReplyRejection::Late)
                                << "late reply to an earlier request: ReadMemory address 4";
        QTest::newRow("sem pedido")
            << good << int(ReplyRejection::Unrequested) << "reply when no request was waiting";
    }
    void rejection()
    {
        QFETCH(QByteArray, received);
        QFETCH(int, why);
        QFETCH(QString, says);
        const QString text = TrafficTrace::rejectionText(received, ReplyRejection(why));
        if (says.isEmpty())
            QCOMPARE(text, QString());
        else
            QVERIFY2(text.startsWith(says), qPrintable(text));
    }
};

VX_TEST_CLASS(TstTrafficTrace, Core)
#include "tst_traffictrace.moc"
