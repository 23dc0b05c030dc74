// Guards the write pass: every field lands at its address in the device's
// encoding, a text the device cannot hold sends no frame at all (instead of a
// frame the device rejects forever or a silently cut value), and Clear and
// paste leave the device memory as the technician expects.
#include "enginebench.h"
#include "frame.h"
#include "testsuite.h"
#include "textforms.h"

#include <QTest>

using namespace vx;

namespace {

// Confirms one value with Enter as the technician would, then waits for the
// pass that takes it.
bool confirm(EngineBench &b, const QString &field, const QString &text)
{
    b.edit.gotFocus(field);
    b.edit.setText(field, text);
    b.edit.confirmValue(field);
    bool written = false;
    auto c = QObject::connect(&b.engine, &Engine::tickFinished, [&] {
        if (!b.edit.anyPending()) written = true;
    });
    const bool ok = EngineBench::waitFor([&] { return written; });
    QObject::disconnect(c);
    return ok;
}

QByteArray memory(EngineBench &b, int address, int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += char(b.device().byte(address + i));
    return out;
}

} // namespace

class TstWrite : public QObject
{
    Q_OBJECT
private slots:
    void field_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char *n, const char *c, const char *t, int a, QByteArray b) {
            QTest::newRow(n) << QString::fromUtf8(c) << QString::fromUtf8(t) << a << b;
        };
        row("pwd tarifas", "Text_pwdtarifas", "1234", 0, QByteArray("\xD2\x04", 2));
        row("pwd relogio max", "Text_pwdrelogio", "65535", 2, QByteArray("\xFF\xFF", 2));
        row("tarifa 1,50", "Text_S00", "1,50", 4, QByteArray("\x96\x00", 2));
        row("tarifa max", "Text_F20", "655,35", 22, QByteArray("\xFF\xFF", 2));
        row("tarifa zero", "Text_S12", "0", 8, QByteArray("\x00\x00", 2));
        row("acumulado max", "Text_acumulado", "167772,15", 32, QByteArray("\xFF\xFF\xFF", 3));
        row("acumulado zero", "Text_acumulado", "0,00", 32, QByteArray("\x00\x00\x00", 3));
        row("a pagar par", "Text_a_pagar", "1,005", 37, QByteArray("\x64\x00\x00", 3));
        row("parcial impar", "Text_parcial", "1,015", 40, QByteArray("\x66\x00\x00", 3));
        row("numero", "Text_numfab_num", "7", 43, QByteArray("\x07"));
        row("codigo", "text_numfab_ano", "A0715", 44, QByteArray("\x0F\x07\x41", 3));
        row("ibutton", "Text_ibut", "0123456789AB", 47, QByteArray("\xAB\x89\x67\x45\x23\x01", 6));
        row("ibutton nenhum", "Text_ibut", "-", 47, QByteArray(6, '\0'));
        row("contador", "Text_contador", "1000", 53, QByteArray("\xE8\x03", 2));
        row("total", "Text_total12", "2,56", 61, QByteArray("\x00\x01\x00", 3));
        row("power negativo", "Text_power", "-3", 70, QByteArray("\x00\x00", 2));
        row("jogos", "Text_aberturas", "4660", 72, QByteArray("\x34\x12", 2));
        row("prog", "Text_prog", "255", 74, QByteArray("\xFF"));
        row("aplicacao", "Text_sn_apl", "16777215", 96, QByteArray("\xFF\xFF\xFF", 3));
        row("data", "Text_act_data", "05-03-2024", 26, QByteArray("\x05\x03\x18", 3));
        row("data nenhuma", "Text_act_data", "-", 26, QByteArray(3, '\0'));
        row("hora", "Text_act_hora", "09:07", 29, QByteArray("\x09\x07", 2));
    }
    void field()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        EngineBench b;
        QVERIFY(b.readAll());
        QVERIFY(confirm(b, field, text));
        QCOMPARE(memory(b, address, bytes.size()), bytes);
        QVERIFY(b.messages.messages.empty());
        // Once written, the key serial shows what the unit now holds.
        if (field == "Text_ibut") QCOMPARE(b.edit.text(field), text);
        // The power downs as a read shows them: one less than the count the
        // timer keeps, so -1 once a negative count went as 0.
        if (field == "Text_power") QCOMPARE(b.edit.text(field), QStringLiteral("-1"));
    }

    // Texts the device cannot hold: refused on Enter with a message, and no
    // write frame for them, ever.
    void refusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        auto row = [](const char *c, const char *t) {
            QTest::newRow(qPrintable(QStringLiteral("%1=%2").arg(c, t)))
                << QString::fromUtf8(c) << QString::fromUtf8(t);
        };
        row("Text_acumulado", "200000,00");
        row("Text_contador", "65536");
        row("Text_aberturas", "-");
        row("Text_prog", "300");
        row("Text_sn_apl", "16777216");
        row("Text_pwdrelogio", "12a");
        row("Text_ibut", "12345");
        row("Text_ibut", "0123456789AG");
        row("text_numfab_ano", "A071");
        row("text_numfab_ano", "A07X5");
        row("Text_act_data", "3/5/24");
        row("Text_act_hora", "9:5");
        row("Text_numfab_num", "256");
        row("Text_a_pagar", "1.50");
    }
    void refusals()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        EngineBench b;
        QVERIFY(b.readAll());
        b.edit.gotFocus(field);
        b.edit.setText(field, text);
        b.messages.clear();
        b.edit.confirmValue(field);
        QVERIFY(!b.edit.pending(field));
        QCOMPARE(b.messages.texts(), QStringList{EditSet::msgInvalid()});
        // Even when something else raises its flag, the pass sends nothing
        // for it.
        b.requests();
        const int i = fieldIndex(field.toStdString());
        b.edit.mark(i);
        bool passed = false;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] { passed = true; });
        QVERIFY(EngineBench::waitFor([&] { return passed; }));
        for (const QByteArray &p : b.requests())
            QVERIFY2(!describe(p).startsWith(QStringLiteral("2,%1,").arg(kFields[i].address)),
                     qPrintable(describe(p)));
    }

    // Every frame's data field holds upper-case hex digits only.
    void nothingOutsideHex()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        b.edit.setText("Text_ibut", "abcdef012345");
        b.edit.confirmValue("Text_ibut");
        QVERIFY(confirm(b, "Text_S00", "1,5"));
        for (const QByteArray &p : b.requests())
            for (int i = 1; i < 28; ++i)
                QVERIFY(QByteArray("0123456789ABCDEF").contains(p.at(i)));
        QCOMPARE(memory(b, 47, 6), QByteArray("\x45\x23\x01\xEF\xCD\xAB", 6));
    }

    void clockAndBanner()
    {
        EngineBench b;
        b.clock.set(QDateTime(QDate(2026, 12, 5), QTime(9, 7, 42))); // a Saturday
        QVERIFY(b.readAll());
        b.requests();
        QVERIFY(confirm(b, "Text_S08", "2,00"));
        QStringList d;
        for (const QByteArray &p : b.requests())
            d << describe(p);
        const int i = d.indexOf("6,42,0");
        QVERIFY(i >= 0);
        QCOMPARE(d.mid(i + 1, 9),
                 (QStringList{"10,4,69", "10,3,83", "10,2,67", "10,1,46", "10,4,12", "10,3,12",
                              "10,2,12", "10,1,12", "2,6,2"}));
        const auto bytes = b.device().clockBytes();
        QCOMPARE(bytes[0], uint8_t(7));
        QCOMPARE(bytes[1], uint8_t(9));
        QCOMPARE(bytes[2], uint8_t(7));
        QCOMPARE(bytes[3], uint8_t(5));
    }

    // With nothing confirmed and nothing changed, a tick is only the display
    // and the polls: no clock set, no write mark, no write.
    void idlePassSendsNothing()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        // The read may have ticked a box, which asks the next pass for the
        // clock; let that pass go by.
        int ticks = 0;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] { ++ticks; });
        QVERIFY(EngineBench::waitFor([&] { return ticks >= 1; }));
        QVERIFY(!b.edit.alteracao_pendente);
        b.requests();
        const int after = ticks;
        QVERIFY(EngineBench::waitFor([&] { return ticks >= after + 2; }));
        QStringList commands;
        for (const QByteArray &p : b.requests())
            commands << describe(p).section(',', 0, 0);
        QVERIFY(commands.size() >= 12);
        for (const QString &c : commands)
            QVERIFY2(QStringList({"10", "3", "7", "8", "9"}).contains(c), qPrintable(c));
        QCOMPARE(commands.mid(0, 6), (QStringList{"10", "10", "3", "7", "8", "9"}));
    }

    void clear()
    {
        EngineBench b;
        for (int a = 100; a <= 179; ++a)
            b.device().setByte(a, 0x55);
        QVERIFY(b.readAll());
        const QString accumulated = b.edit.text("Text_acumulado");
        const QByteArray accumulatedMem = memory(b, 32, 3);
        int reads = 0;
        QObject::connect(&b.engine, &Engine::readFinished, [&] { ++reads; });
        b.engine.Command_clear_Click();
        QVERIFY(!b.edit.control("Command_sair").enabled);
        QVERIFY(EngineBench::waitFor([&] { return reads == 1; }));
        for (int a = 100; a <= 179; ++a)
            QCOMPARE(b.device().byte(a), uint8_t(0));
        for (int a = 40; a <= 42; ++a)
            QCOMPARE(b.device().byte(a), uint8_t(0));
        for (int a = 53; a <= 74; ++a)
            QCOMPARE(b.device().byte(a), uint8_t(0));
        QCOMPARE(memory(b, 32, 3), accumulatedMem);
        QCOMPARE(b.edit.text("Text_acumulado"), accumulated);
        QCOMPARE(b.edit.text("Text_contador"), QStringLiteral("0"));
        QCOMPARE(b.edit.text("Text_total00"), QStringLiteral("0,00"));
        QCOMPARE(b.edit.text("Text_power"), QStringLiteral("-1"));
        QCOMPARE(b.edit.text("Text_act_data"), QStringLiteral("01-12-2026"));
        QVERIFY(b.edit.control("Command_clear").enabled);
        QVERIFY(b.edit.control("Command_sair").enabled);
        QVERIFY(b.messages.messages.empty());
    }

    void copyAndPaste()
    {
        EngineBench b;
        b.device().setByte(24, 1);
        QVERIFY(b.readAll());
        b.engine.command_copy1_Click();
        QVERIFY(b.edit.control("command_paste1").enabled);
        const QByteArray original = memory(b, 0, 256);

        // A second unit, different everywhere.
        std::array<uint8_t, 256> other{};
        for (int a = 0; a < 256; ++a)
            other[a] = uint8_t(a * 7 + 3);
        other[24] = 0;
        other[198] = 4;
        b.device().setMemory(other);
        QVERIFY(b.readAll());
        const QByteArray update = memory(b, 26, 5);
        b.engine.command_paste1_Click();
        bool written = false;
        QObject::connect(&b.engine, &Engine::tickFinished,
                         [&] { written = written || !b.edit.anyPending(); });
        QVERIFY(EngineBench::waitFor([&] { return written; }));
        for (const Field &c : kFields) {
            const QString name = QString::fromLatin1(c.name.data(), int(c.name.size()));
            if (name == "Text_act_data" || name == "Text_act_hora") {
                // Not part of the copy: the second unit keeps its own.
                QCOMPARE(memory(b, c.address, c.bytes), update.mid(c.address - 26, c.bytes));
            } else if (name == "Text_power") {
                // The window shows the device's count less one and writes
                // what it shows.
                QCOMPARE(b.device().number(70, 2) + 1,
                         uint32_t(uchar(original.at(70)) + 256 * uchar(original.at(71))));
            } else {
                QCOMPARE(memory(b, c.address, c.bytes), original.mid(c.address, c.bytes));
            }
        }
    }
};

VX_TEST_CLASS(TstWrite, Core)
#include "tst_write.moc"
