// Guards what the window shows of a value confirmed with Enter: waiting until
// the write pass stores it, then written; refused when the timer cannot take
// it; nothing once it is typed anew or the window is cleared for a read. A
// value shown as written that the timer never stored, or fields painted
// because Clear marked them, are the faults.

#include "editset.h"
#include "fieldtable.h"
#include "messages.h"
#include "recordingmessages.h"
#include "testsuite.h"

#include <QSignalSpy>
#include <QTest>

using namespace vx;

class TstWriteState : public QObject
{
    Q_OBJECT

private slots:
    void confirmedValueFollowsTheWrite_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("written");
        QTest::addColumn<WriteState>("after");
        QTest::newRow("tarifa escrita") << "Text_S00"
                                        << "1,50" << true << true << WriteState::Written;
        QTest::newRow("tarifa recusada") << "Text_S00"
                                         << "1,50" << true << false << WriteState::Refused;
        QTest::newRow("contador escrito") << "Text_contador"
                                          << "77" << true << true << WriteState::Written;
        // An invalid value is refused at Enter with a message and stays
        // marked as one the unit does not hold.
        QTest::newRow("data invalida") << "Text_act_data"
                                       << "31-02" << false << false << WriteState::Invalid;
    }

    void confirmedValueFollowsTheWrite()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(bool, written);
        QFETCH(WriteState, after);
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        edit.gotFocus(field);
        QVERIFY(edit.userEdit(field, text));
        edit.confirmValue(field);
        QCOMPARE(edit.control(field).write, accepted ? WriteState::Pending : WriteState::Invalid);
        QCOMPARE(messages.messages.empty(), accepted);
        if (accepted) {
            const int i = fieldIndex(field.toStdString());
            QVERIFY(edit.take(i));
            if (written)
                edit.reportWritten(i);
            else
                edit.reportRefused(i, text);
        }
        QCOMPARE(edit.control(field).write, after);
    }

    void typingOrClearingForgetsTheState()
    {
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        const QString field = QStringLiteral("Text_S08");
        const int i = fieldIndex(field.toStdString());
        edit.userEdit(field, QStringLiteral("2,00"));
        edit.confirmValue(field);
        edit.reportWritten(i);
        QCOMPARE(edit.control(field).write, WriteState::Written);
        edit.userEdit(field, QStringLiteral("2,0"));
        QCOMPARE(edit.control(field).write, WriteState::Edited);
        edit.userEdit(field, QStringLiteral("2,00")); // what the timer holds again
        QCOMPARE(edit.control(field).write, WriteState::None);
        edit.userEdit(field, QStringLiteral("2,0"));
        edit.confirmValue(field);
        QCOMPARE(edit.control(field).write, WriteState::Pending);
        edit.session.modo = 0;
        edit.clear();
        QCOMPARE(edit.control(field).write, WriteState::None);
    }

    // Letters or a point typed into a number: every character stays in the
    // box (a message box opened by the first one used to take the rest), no
    // box opens while typing, and the field is marked invalid with the
    // check's message until it is corrected.
    void typedNonNumberIsKeptAndMarked_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("keys"); // the box's text after each key
        QTest::addColumn<WriteState>("after");
        QTest::newRow("letras") << "Text_S00" << QStringList{"a", "ab", "abc"}
                                << WriteState::Invalid;
        QTest::newRow("letra no meio")
            << "Text_F08" << QStringList{"x", "x1", "x1y"} << WriteState::Invalid;
        QTest::newRow("ponto") << "Text_S12" << QStringList{"3", "3.", "3.7", "3.75"}
                               << WriteState::Invalid;
        QTest::newRow("corrigido")
            << "Text_S15" << QStringList{"3", "3.", "3", "3,", "3,7"} << WriteState::Edited;
        QTest::newRow("contador apagado")
            << "Text_contador" << QStringList{"1", ""} << WriteState::Invalid;
    }
    void typedNonNumberIsKeptAndMarked()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, keys);
        QFETCH(WriteState, after);
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        edit.setText(field, QStringLiteral("1,50"));
        QSignalSpy invalid(&edit, &EditSet::valueInvalid);
        for (const QString &k : keys)
            QVERIFY(edit.userEdit(field, k));
        QCOMPARE(edit.text(field), keys.last());
        QVERIFY(messages.messages.empty());
        QCOMPARE(edit.control(field).write, after);
        if (after == WriteState::Invalid) {
            QVERIFY(!invalid.isEmpty());
            QCOMPARE(invalid.last().at(0).toString(), field);
            QCOMPARE(invalid.last().at(1).toString(), EditSet::msgInvalid());
        }
    }

    // An out-of-range tariff: the message box as always, then the
    // value stays marked, with the reason for the status line, and Escape
    // brings back what the unit holds even though the focus came back from
    // the message box.
    void outOfRangeStaysMarkedUntilEscape_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("tarifa") << "Text_S00"
                                << "999,99"
                                << "O valor da tarifa deve estar entre 0 e 655,35";
        QTest::newRow("tarifa negativa") << "Text_F20"
                                         << "-1"
                                         << "O valor da tarifa deve estar entre 0 e 655,35";
    }
    void outOfRangeStaysMarkedUntilEscape()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        edit.setText(field, QStringLiteral("25"));
        edit.gotFocus(field);
        edit.userEdit(field, typed);
        QSignalSpy invalid(&edit, &EditSet::valueInvalid);
        edit.confirmValue(field);
        QCOMPARE(messages.texts(), QStringList{reason});
        QCOMPARE(edit.text(field), typed);
        QCOMPARE(edit.control(field).write, WriteState::Invalid);
        QCOMPARE(invalid.size(), 1);
        QCOMPARE(invalid.first().at(1).toString(), reason);
        QVERIFY(!edit.pending(field));
        edit.gotFocus(field, false); // back from the message box
        edit.restoreValue(field);
        QCOMPARE(edit.control(field).write, WriteState::None);
    }

    // A value the write pass refused: focus given to it again and Escape
    // bring back the unit's value, not the refused one.
    void escapeOnRefusedBringsBackTheUnitsValue()
    {
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        const QString field = QStringLiteral("Text_contador");
        const int i = fieldIndex(field.toStdString());
        edit.setText(field, QStringLiteral("12"));
        edit.gotFocus(field);
        edit.userEdit(field, QStringLiteral("70000"));
        edit.confirmValue(field);
        QCOMPARE(edit.control(field).write, WriteState::Invalid);
        edit.gotFocus(QStringLiteral("Text_S00"));
        edit.gotFocus(field);
        edit.restoreValue(field);
        QCOMPARE(edit.text(field), QStringLiteral("12"));
        QCOMPARE(edit.control(field).write, WriteState::None);

        edit.userEdit(field, QStringLiteral("13"));
        edit.confirmValue(field);
        QVERIFY(edit.take(i));
        edit.reportRefused(i, QStringLiteral("13"));
        edit.gotFocus(QStringLiteral("Text_S00"));
        edit.gotFocus(field);
        edit.restoreValue(field);
        QCOMPARE(edit.text(field), QStringLiteral("12"));
        QCOMPARE(edit.control(field).write, WriteState::None);
    }

    // Clear and paste mark values the technician never typed: their writes
    // are not announced field by field.
    void markedWithoutEnterStaysUnpainted()
    {
        RecordingMessages messages;
        EditSet edit(messages);
        edit.session.modo = 2;
        edit.mark(QStringList{QStringLiteral("Text_total00")});
        edit.reportWritten(fieldIndex("Text_total00"));
        QCOMPARE(edit.control(QStringLiteral("Text_total00")).write, WriteState::None);
    }
};

VX_TEST_CLASS(TstWriteState, Core)
#include "tst_writestate.moc"
