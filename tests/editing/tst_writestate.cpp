// Guards what the window shows of a value confirmed with Enter: waiting until
// the write pass stores it, then written; refused when the timer cannot take
// it; nothing once it is typed anew or the window is cleared for a read. A
// value shown as written that the timer never stored, or fields painted
// because Clear marked them, are the faults.

#include "editset.h"
#include "fields.h"
#include "messages.h"
#include "testsuite.h"

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
        // An invalid value is refused at Enter with a message, never marked.
        QTest::newRow("data invalida") << "Text_act_data"
                                       << "31-02" << false << false << WriteState::None;
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
        edit.keyPress(field, 13);
        QCOMPARE(edit.control(field).write, accepted ? WriteState::Pending : WriteState::None);
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
        edit.keyPress(field, 13);
        edit.reportWritten(i);
        QCOMPARE(edit.control(field).write, WriteState::Written);
        edit.userEdit(field, QStringLiteral("2,0"));
        QCOMPARE(edit.control(field).write, WriteState::None);
        edit.keyPress(field, 13);
        QCOMPARE(edit.control(field).write, WriteState::Pending);
        edit.session.modo = 0;
        edit.clear();
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
