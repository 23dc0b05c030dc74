// Guards against one timer's values reaching another. A technician moves the
// cable to the next timer without "Sair"; the link simply reaches the other
// unit. Whatever the window holds of the first unit (its passwords, tariffs,
// manufacturing code) must never be written into the second, a write that
// lost its reply must not be sent again to whoever answers next, a read that
// spans the swap must not mix two units, and Clear keeps the values it
// zeroes from a read made just before the erase.
#include "enginebench.h"
#include "frame.h"
#include "messagetexts.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

// The requests the PC sends from its making on.
struct SentRequests
{
    explicit SentRequests(Link &link)
    {
        QObject::connect(&link, &Link::requestSent,
                         [this](const QByteArray &frame) { headers << requestHeader(frame); });
    }
    QList<RequestHeader> headers;
};

namespace {

std::array<uint8_t, 256> unitMemory(uint32_t serial, uint8_t number, uint16_t tariffCents)
{
    EngineBench scratch;
    emu::Device &d = scratch.device();
    d.setNumber(96, 3, serial);
    d.setByte(43, number);
    d.setNumber(4, 2, tariffCents);
    d.setNumber(0, 2, 1111);
    return d.memory();
}

bool anyWrite(const QList<RequestHeader> &requests)
{
    for (const RequestHeader &r : requests)
        if (r.comando == Command::WriteMemory) return true;
    return false;
}

// The unit on the line is exchanged: the adapter is away for a moment and
// comes back on another timer, which has been sent nothing yet.
void moveCable(EngineBench &b, const std::array<uint8_t, 256> &other, int goneMs = 300)
{
    b.port.setGone(goneMs);
    b.device().setMemory(other);
    b.device().clearHistory();
    b.device().setImpulses(0);
}

} // namespace

class TstUnitSwap : public QObject
{
    Q_OBJECT
private slots:
    void otherUnitGetsNothingOfTheOneRead()
    {
        EngineBench b;
        const auto unitA = unitMemory(123456, 3, 150);
        const auto unitB = unitMemory(153677, 9, 275);
        b.device().setMemory(unitA);
        QVERIFY(b.readAll());
        QCOMPARE(b.engine.unitRead().serial, QStringLiteral("123456"));
        QVERIFY(b.engine.unitTrusted());

        QList<std::pair<UnitIdentity, UnitIdentity>> changes;
        QObject::connect(&b.engine, &Engine::unitChanged,
                         [&](const UnitIdentity &r, const UnitIdentity &o) {
                             changes.append({r, o});
                         });
        // The cable is out until the test puts it on the other unit.
        b.port.setGone(-1);
        b.device().setMemory(unitB);
        // Typed for unit A and Clear pressed while the line is down.
        b.edit.gotFocus(QStringLiteral("Text_S08"));
        b.edit.setText(QStringLiteral("Text_S08"), QStringLiteral("3,00"));
        b.edit.confirmValue(QStringLiteral("Text_S08"));
        QVERIFY(b.edit.pending(QStringLiteral("Text_S08")));
        // The engine waits for the timer inside its tick: the technician's
        // click comes from the event loop meanwhile.
        SentRequests sent(b.link);
        bool clicked = false;
        QObject::connect(&b.link, &Link::statsChanged, [&] {
            if (clicked || b.link.stats.timeoutsSinceAccepted == 0) return;
            clicked = true;
            QTimer::singleShot(0, [&] {
                b.engine.Command_clear_Click();
                sent.headers.clear();
                b.port.setGone(0);
            });
        });

        QVERIFY(EngineBench::waitFor([&] { return !changes.isEmpty(); }));
        // A few more ticks: nothing held back may go out later.
        int ticks = 0;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] { ++ticks; });
        QVERIFY(EngineBench::waitFor([&] { return ticks >= 5; }));

        QVERIFY(!anyWrite(sent.headers));
        for (int a = 0; a < 256; ++a)
            if (a < 91 || a > 95) QCOMPARE(b.device().byte(a), unitB[size_t(a)]);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().first.serial, QStringLiteral("123456"));
        QCOMPARE(changes.first().second.serial, QStringLiteral("153677"));
        QVERIFY(b.edit.unitMismatch().has_value());
        QVERIFY(!b.edit.anyPending());
        QVERIFY(!b.engine.unitTrusted());
        for (const char *n : {"Command_clear", "Command_imprimir", "command_copy1"})
            QVERIFY2(!b.edit.control(QLatin1String(n)).enabled, n);
        for (const char *n : {"Command_ler", "Command_testar", "Command_sair"})
            QVERIFY2(b.edit.control(QLatin1String(n)).enabled, n);
        // Clear was refused while the timer did not answer, not kept.
        QVERIFY(b.messages.texts().contains(messageText(MessageId::ClearNoReply, 0)));

        // "Lêr" reads the unit on the line, and it can be worked on again.
        QVERIFY(b.readAll());
        QVERIFY(!b.edit.unitMismatch());
        QCOMPARE(b.edit.text(QStringLiteral("Text_S00")), QStringLiteral("2,75"));
        QVERIFY(b.engine.unitTrusted());
    }

    // A request made for unit A while the cable is moved, or a Clear whose
    // read before the erase finds unit B: B gets none of it, the values
    // typed for A show what A holds again, and the mismatch names what was
    // dropped for the window to say.
    void requestCutOffBySwapIsDroppedAndNamed_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("notDone");
        QTest::addColumn<QStringList>("notWritten");
        QTest::newRow("impulsos") << "impulses" << QStringList{"Command_enviar"} << QStringList{};
        QTest::newRow("teste displays")
            << "displayTest" << QStringList{"Command_teste_disp"} << QStringList{};
        QTest::newRow("valor confirmado") << "enter" << QStringList{} << QStringList{"Text_S08"};
        QTest::newRow("valor por confirmar") << "typed" << QStringList{} << QStringList{"Text_S08"};
        QTest::newRow("caixa") << "tick" << QStringList{} << QStringList{"Check_contador"};
        QTest::newRow("clear") << "clear" << QStringList{"Command_clear"} << QStringList{};
    }
    void requestCutOffBySwapIsDroppedAndNamed()
    {
        QFETCH(QString, request);
        QFETCH(QStringList, notDone);
        QFETCH(QStringList, notWritten);
        EngineBench b;
        const auto unitB = unitMemory(153677, 9, 275);
        b.device().setMemory(unitMemory(123456, 3, 150));
        QVERIFY(b.readAll());
        const QString tariff = b.edit.text(QStringLiteral("Text_S08"));
        const bool ticked = b.edit.checked(QStringLiteral("Check_contador"));
        b.edit.setText(QStringLiteral("Text_impulsos"), QStringLiteral("5"));

        bool moved = false;
        if (request == "clear") {
            // The line goes while Clear's pass reads the unit before its erase.
            QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &frame) {
                const RequestHeader h = requestHeader(frame);
                if (moved || h.comando != Command::ReadMemory || h.indice != 10) return;
                moved = true;
                moveCable(b, unitB);
            });
            b.engine.Command_clear_Click();
        } else {
            moveCable(b, unitB, -1);
            if (request == "typed" || request == "enter") {
                b.edit.gotFocus(QStringLiteral("Text_S08"));
                QVERIFY(b.edit.userEdit(QStringLiteral("Text_S08"), QStringLiteral("4,44")));
            }
            if (request == "enter") b.edit.confirmValue(QStringLiteral("Text_S08"));
            if (request == "tick") b.edit.userToggle(QStringLiteral("Check_contador"));
            if (request == "impulses") b.engine.Command_enviar_Click();
            if (request == "displayTest") b.engine.Command_teste_disp_Click();
            QObject::connect(&b.link, &Link::statsChanged, [&] {
                if (moved || b.link.stats.timeoutsSinceAccepted == 0) return;
                moved = true;
                QTimer::singleShot(0, [&] { b.port.setGone(0); });
            });
        }
        QVERIFY(EngineBench::waitFor([&] { return b.edit.unitMismatch().has_value(); }));
        int ticks = 0;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] { ++ticks; });
        QVERIFY(EngineBench::waitFor([&] { return ticks >= 5; }));

        const QString more = sentMoreThanReads(b.device());
        QVERIFY2(more.isEmpty(), qPrintable(more));
        QVERIFY(b.device().memory() == unitB);
        const auto &mismatch = *b.edit.unitMismatch();
        QCOMPARE(mismatch.notDone, notDone);
        QStringList named;
        for (const auto &[field, text] : mismatch.notWritten)
            named << field;
        QCOMPARE(named, notWritten);
        // The window shows what unit A holds, not what was meant for it.
        QCOMPARE(b.edit.text(QStringLiteral("Text_S08")), tariff);
        QCOMPARE(b.edit.checked(QStringLiteral("Check_contador")), ticked);
        QCOMPARE(b.edit.control(QStringLiteral("Text_S08")).write, WriteState::None);
        for (const char *n : {"Command_enviar", "Command_teste_disp", "Command_clear"})
            QVERIFY2(!b.edit.control(QLatin1String(n)).enabled, n);
        QVERIFY(!b.edit.session.impulsos_pedido && !b.edit.session.teste_disp_pedido);
        QVERIFY(!b.edit.session.limpar_pedido);
    }

    void sameUnitAfterInterruptionCarriesOn()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        const UnitIdentity read = b.engine.unitRead();
        b.port.setGone(300);
        b.edit.gotFocus(QStringLiteral("Text_S08"));
        b.edit.setText(QStringLiteral("Text_S08"), QStringLiteral("3,00"));
        b.edit.confirmValue(QStringLiteral("Text_S08"));
        SentRequests sent(b.link);
        QVERIFY(EngineBench::waitFor([&] { return !b.edit.anyPending(); }));
        QCOMPARE(b.device().number(6, 2), 300u);
        QVERIFY(!b.edit.unitMismatch());
        QCOMPARE(b.engine.unitRead(), read);
        // The unit was confirmed by its identity before the write.
        const QList<RequestHeader> &after = sent.headers;
        int identityReads = 0;
        qsizetype firstWrite = -1;
        for (qsizetype i = 0; i < after.size(); ++i) {
            const RequestHeader &r = after[i];
            if (r.comando == Command::ReadMemory && (r.indice == 43 || r.indice == 96))
                ++identityReads;
            if (r.comando == Command::WriteMemory && firstWrite < 0) {
                firstWrite = i;
                QVERIFY2(identityReads >= 2, "written before the unit was confirmed");
            }
        }
        QVERIFY(firstWrite >= 0);
    }

    void lostWriteReplyIsNotSentToTheNextUnit()
    {
        EngineBench b;
        const auto unitB = unitMemory(153677, 9, 275);
        QVERIFY(b.readAll());
        bool changed = false;
        QObject::connect(&b.engine, &Engine::unitChanged, [&] { changed = true; });
        // The unit takes the write; its reply is lost with the cable.
        bool moved = false;
        QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &frame) {
            const RequestHeader h = requestHeader(frame);
            if (moved || h.comando != Command::WriteMemory || h.indice != 6) return;
            moved = true;
            moveCable(b, unitB);
        });
        b.edit.gotFocus(QStringLiteral("Text_S08"));
        b.edit.setText(QStringLiteral("Text_S08"), QStringLiteral("3,00"));
        b.edit.confirmValue(QStringLiteral("Text_S08"));
        QVERIFY(EngineBench::waitFor([&] { return changed; }));
        QCOMPARE(b.device().number(6, 2), uint32_t(unitB[6] | unitB[7] << 8));
        QCOMPARE(b.edit.control(QStringLiteral("Text_S08")).write, WriteState::None);
    }

    void readAcrossTheSwapIsOfOneUnit()
    {
        EngineBench b;
        const auto unitB = unitMemory(153677, 9, 275);
        bool moved = false;
        QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &frame) {
            const RequestHeader h = requestHeader(frame);
            if (moved || h.comando != Command::ReadMemory || h.indice != 10) return;
            moved = true;
            moveCable(b, unitB);
        });
        QVERIFY(b.readAll());
        QVERIFY(moved);
        QVERIFY(!b.edit.unitMismatch());
        QCOMPARE(b.engine.unitRead().serial, QStringLiteral("153677"));
        // Every value is the second unit's, also those read before the swap.
        QCOMPARE(b.edit.text(QStringLiteral("Text_S00")), QStringLiteral("2,75"));
        QCOMPARE(b.edit.text(QStringLiteral("Text_pwdtarifas")), QStringLiteral("1111"));
    }

    void clearKeepsTheUnitAsTheEraseFindsIt()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        // Games played after the read: the erase zeroes these takings.
        b.device().setNumber(58, 3, 4321);
        QString kept;
        QString keptSerial;
        b.engine.setBeforeErase([&](const EditSet &unit) {
            kept = unit.text(QStringLiteral("Text_total08"));
            keptSerial = unit.text(QStringLiteral("Text_sn_apl"));
            return true;
        });
        int reads = 0;
        QObject::connect(&b.engine, &Engine::readFinished, [&] { ++reads; });
        b.engine.Command_clear_Click();
        QVERIFY(EngineBench::waitFor([&] { return reads == 1; }));
        QCOMPARE(kept, QStringLiteral("43,21"));
        QCOMPARE(keptSerial, b.engine.unitRead().serial);
        QCOMPARE(b.device().number(58, 3), 0u);
        // The window shows the stamp this visit left, as the unit holds it.
        QCOMPARE(b.edit.text(QStringLiteral("Text_master_ibut")),
                 QStringLiteral("01-12-2026 @ 14:05"));
    }

    void clearNotKeptZeroesNothing()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        const auto before = b.device().memory();
        const QString shown = b.edit.text(QStringLiteral("Text_total08"));
        b.engine.setBeforeErase([](const EditSet &) { return false; });
        bool refused = false;
        int ticks = 0;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] {
            ++ticks;
            refused = refused || (!b.edit.session.limpar_pedido && ticks > 1);
        });
        b.engine.Command_clear_Click();
        QVERIFY(EngineBench::waitFor([&] { return refused && ticks > 3; }));
        for (int a = 0; a < 256; ++a)
            if (a < 91 || a > 95) QCOMPARE(b.device().byte(a), before[size_t(a)]);
        QCOMPARE(b.edit.text(QStringLiteral("Text_total08")), shown);
        QVERIFY(!b.edit.anyPending());
        for (const char *n : {"Command_clear", "Command_sair", "Command_ler"})
            QVERIFY2(b.edit.control(QLatin1String(n)).enabled, n);
    }
};

VX_TEST_CLASS(TstUnitSwap, Core)
#include "tst_unitswap.moc"
