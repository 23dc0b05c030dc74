// Guards the frame layer: a wrong digit order, checksum or validation rule
// makes the device reject every request or the tool accept a damaged reply.
#include "frame.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstFrame : public QObject
{
    Q_OBJECT
private slots:
    void hexConversions()
    {
        QCOMPARE(nibble_hex(0), '0');
        QCOMPARE(nibble_hex(9), '9');
        QCOMPARE(nibble_hex(10), 'A');
        QCOMPARE(nibble_hex(15), 'F');
        QCOMPARE(hex_nibble('0'), uint8_t(0));
        QCOMPARE(hex_nibble('F'), uint8_t(15));
        QCOMPARE(hex_nibble('G'), uint8_t(16));
        QCOMPARE(hex_nibble(' '), uint8_t(0));
        for (int n = 0; n < 16; ++n)
            QCOMPARE(hex_nibble(nibble_hex(n)), uint8_t(n));
    }

    void money_data()
    {
        QTest::addColumn<uint>("centimos");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0u << "0,00";
        QTest::newRow("cinco") << 5u << "0,05";
        QTest::newRow("um") << 100u << "1,00";
        QTest::newRow("1234") << 1234u << "12,34";
        QTest::newRow("99999") << 99999u << "999,99";
        QTest::newRow("max3") << 16777215u << "167772,15";
    }
    void money()
    {
        QFETCH(uint, centimos);
        QFETCH(QString, text);
        QCOMPARE(moeda_texto(centimos), text);
    }

    void request_data()
    {
        QTest::addColumn<Command>("comando");
        QTest::addColumn<int>("indice");
        QTest::addColumn<int>("valor");
        QTest::addColumn<QByteArray>("txData");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("fim de ligacao") << Command::End << 0 << 0 << QByteArray("000000000000")
                                        << QByteArray("#AF0000000000000000000000091%");
        QTest::newRow("bateria") << Command::ReadBattery << 0 << 0 << QByteArray("000000000000")
                                 << QByteArray("#AF0000070000000000000000002%");
        QTest::newRow("ler endereco 31")
            << Command::ReadMemory << 31 << 1 << QByteArray("000000000000")
            << QByteArray("#AF0000010F110000000000000B2%");
        // Only writes and the clock setting carry the data buffer.
        QTest::newRow("dados ignorados no comando 1")
            << Command::ReadMemory << 31 << 1 << QByteArray("123456789ABC")
            << QByteArray("#AF0000010F110000000000000B2%");
        QTest::newRow("escrita leva dados")
            << Command::WriteMemory << 4 << 2 << QByteArray("690000000000")
            << QByteArray("#AF0000020402069000000000003%");
    }
    void request()
    {
        QFETCH(Command, comando);
        QFETCH(int, indice);
        QFETCH(int, valor);
        QFETCH(QByteArray, txData);
        QFETCH(QByteArray, expected);
        TxData d;
        std::copy(txData.begin(), txData.end(), d.begin());
        QCOMPARE(buildRequest(comando, uint8_t(indice), uint8_t(valor), d), expected);
    }

    // The number each command puts on the line: a wrong one is a request the
    // device takes for another.
    void commandNumbers_data()
    {
        QTest::addColumn<Command>("comando");
        QTest::addColumn<QByteArray>("digits");
        QTest::newRow("fim") << Command::End << QByteArray("00");
        QTest::newRow("ler") << Command::ReadMemory << QByteArray("10");
        QTest::newRow("escrever") << Command::WriteMemory << QByteArray("20");
        QTest::newRow("entradas") << Command::ReadInputs << QByteArray("30");
        QTest::newRow("impulsos") << Command::Impulses << QByteArray("40");
        QTest::newRow("acertar relogio") << Command::SetClock << QByteArray("60");
        QTest::newRow("bateria") << Command::ReadBattery << QByteArray("70");
        QTest::newRow("ibutton") << Command::ReadIButton << QByteArray("80");
        QTest::newRow("ler relogio") << Command::ReadClock << QByteArray("90");
        QTest::newRow("display") << Command::Display << QByteArray("A0");
    }
    void commandNumbers()
    {
        QFETCH(Command, comando);
        QFETCH(QByteArray, digits);
        const QByteArray r = buildRequest(comando, 0x5A, 0xC3, {});
        QCOMPARE(r.mid(8, 2), digits);
        const RequestHeader h = requestHeader(r);
        QCOMPARE(h.comando, comando);
        QCOMPARE(h.indice, uint8_t(0x5A));
        QCOMPARE(h.valor, uint8_t(0xC3));
    }

    // Every byte of a data field goes out and comes back unchanged, low
    // nibble first.
    void dataBytes()
    {
        TxData d;
        d.fill('0');
        putByte(d, 0, 0x1F);
        putByte(d, 5, 0xA0);
        QCOMPARE(QByteArray(d.data(), kDataLength), QByteArray("F1000000000A"));
        const QByteArray reply = buildReply(QByteArray(13, '0'), QByteArray(d.data(), kDataLength));
        QCOMPARE(dataByte(reply, 0), uint8_t(0x1F));
        QCOMPARE(dataByte(reply, 5), uint8_t(0xA0));
        QCOMPARE(dataByte(reply.left(20), 5), uint8_t(0));
    }

    void reply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("valid");
        QTest::newRow("exemplo") << QByteArray("!AF0000010F11046000000000053%") << true;
        QTest::newRow("minuscula") << QByteArray("!aF0000010F11046000000000053%") << false;
        QTest::newRow("sem exclamacao") << QByteArray("#AF0000010F11046000000000053%") << false;
        QTest::newRow("checksum errado") << QByteArray("!AF0000010F11046000000000054%") << false;
        QTest::newRow("sem percentagem") << QByteArray("!AF0000010F11046000000000053&") << false;
        QTest::newRow("curta") << QByteArray("!AF00") << false;
        // 25 digits of F sum to 375; the device sends the sum modulo 256.
        QTest::newRow("soma acima de 255") << buildReply("FFFFFFFFFFFFF", "FFFFFFFFFFFF") << true;
        QTest::newRow("digito fora de hex") << QByteArray("!AF0000010F11G46000000000053%") << false;
    }
    void reply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, valid);
        QCOMPARE(isValidReply(reply), valid);
    }

    void replyDecoding()
    {
        const QByteArray r = buildReply("AF0000010F110", "0123456789AB");
        QCOMPARE(dataByte(r, 0), uint8_t(0x10));
        QCOMPARE(dataNumber(r, 2), uint32_t(0x3210));
        QCOMPARE(reversedData(r), QStringLiteral("BA9876543210"));
        QCOMPARE(buildReply("AF0000010F110", "460000000000"),
                 QByteArray("!AF0000010F11046000000000053%"));
    }
};

VX_TEST_CLASS(TstFrame, Core)
#include "tst_frame.moc"
