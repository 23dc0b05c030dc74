// Guards the field table as the one place for each field: a field named again
// in another table drifts from its row, and a decode() that does not undo
// encode() makes the traffic log and a restored value disagree with the unit.
#include "fieldtable.h"
#include "testsuite.h"
#include "textforms.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace vx;

namespace {

// The product's sources: the table, the window's geometry and at most one
// place with a rule of its own may name a field.
QHash<QString, QString> productSources()
{
    QHash<QString, QString> texts;
    for (const char *folder : {"src", "app", "emulator"}) {
        QDirIterator it(QStringLiteral(VX_SOURCE_DIR "/") + QLatin1String(folder),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly))
                texts.insert(f.fileName().mid(int(qstrlen(VX_SOURCE_DIR)) + 1),
                             QString::fromUtf8(f.readAll()));
        }
    }
    return texts;
}

constexpr qsizetype kMostFilesPerField = 3;

} // namespace

class TstFieldTable : public QObject
{
    Q_OBJECT
private slots:
    void eachFieldNamedInFewFiles()
    {
        const QHash<QString, QString> sources = productSources();
        QVERIFY(sources.contains(QStringLiteral("src/link/fieldtable.h")));
        QStringList crowded;
        for (const Field &f : kFieldTable) {
            const QRegularExpression word(QStringLiteral("(?<![A-Za-z0-9_])%1(?![A-Za-z0-9_])")
                                              .arg(QRegularExpression::escape(toQString(f.name))));
            QStringList files;
            for (auto it = sources.cbegin(); it != sources.cend(); ++it)
                if (word.match(it.value()).hasMatch()) files << it.key();
            files.sort();
            if (files.size() > kMostFilesPerField)
                crowded << toQString(f.name) + QStringLiteral(" in ") +
                               files.join(QStringLiteral(", "));
        }
        if (!crowded.isEmpty()) QFAIL(qPrintable(crowded.join(QLatin1Char('\n'))));
    }

    void decodeUndoesEncode_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("decoded");
        const auto row = [](const char *tag, FieldId id, const char *text, const char *decoded) {
            QTest::newRow(tag) << int(id) << QString::fromUtf8(text) << QString::fromUtf8(decoded);
        };
        row("tariff", FieldId::Week00, "12,5", "12,50");
        row("tariff top", FieldId::Weekend20, "655,35", "655,35");
        row("takings top", FieldId::Accumulated, "167772,15", "167772,15");
        row("takings zero", FieldId::Total00, "0", "0,00");
        row("password leading zeros", FieldId::TariffPassword, "0012", "12");
        row("one byte", FieldId::Fraction, "255", "255");
        row("three bytes", FieldId::ApplicationSerial, "16777215", "16777215");
        row("power downs", FieldId::PowerDowns, "7", "7");
        row("power downs negative", FieldId::PowerDowns, "-3", "0");
        row("tick box", FieldId::CounterOn, "1", "1");
        row("date", FieldId::KeyUpdateDate, "29-02-2024", "29-02-2024");
        row("date placeholder", FieldId::KeyUpdateDate, "-", "00-00-2000");
        row("time", FieldId::KeyUpdateTime, "09:07", "09:07");
        row("code", FieldId::MakerCode, "A0715", "A0715");
        row("serial", FieldId::KeySerial, "0123456789ab", "0123456789AB");
        row("serial placeholder", FieldId::KeySerial, "-", "000000000000");
    }

    void decodeUndoesEncode()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, decoded);
        const Field &f = fieldRow(FieldId(field));
        TxData data;
        data.fill('0');
        QVERIFY(encode(f, text, text == QLatin1String("1"), data));
        const QByteArray frame =
            QByteArray(kDataOffset, '!') + QByteArray(data.data(), kDataLength);
        QCOMPARE(decode(f, frame), decoded);
    }

    // What the read shows of bytes, where the device's own display differs
    // from the bytes.
    void shownRules_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pin4") << int(FieldId::ClockPassword) << QByteArray("700000") << "0007";
        QTest::newRow("pad2") << int(FieldId::MakerNumber) << QByteArray("70") << "07";
        QTest::newRow("one less") << int(FieldId::PowerDowns) << QByteArray("0000") << "-1";
        QTest::newRow("no update") << int(FieldId::KeyUpdateDate) << QByteArray("000000") << "-";
        QTest::newRow("no key") << int(FieldId::KeySerial) << QByteArray("000000000000") << "-";
        QTest::newRow("stamp") << int(FieldId::LastMaintenance) << QByteArray("209091E0D2")
                               << "02-09-2025 @ 14:45";
        // Bytes that are no value of their field: the placeholder, never a
        // control character, a day 255 or the year 2000 of a stamp never made.
        QTest::newRow("never maintained")
            << int(FieldId::LastMaintenance) << QByteArray("0000000000") << "-";
        QTest::newRow("stamp FF") << int(FieldId::LastMaintenance) << QByteArray("FFFFFFFFFF")
                                  << "-";
        QTest::newRow("stamp hour 24")
            << int(FieldId::LastMaintenance) << QByteArray("2090918100") << "-";
        QTest::newRow("code NUL") << int(FieldId::MakerCode) << QByteArray("000000") << "-";
        QTest::newRow("code FF") << int(FieldId::MakerCode) << QByteArray("FFFFFF") << "-";
        QTest::newRow("code space") << int(FieldId::MakerCode) << QByteArray("C08102") << "-";
        QTest::newRow("code A") << int(FieldId::MakerCode) << QByteArray("C08114") << "A2412";
        QTest::newRow("code week 100") << int(FieldId::MakerCode) << QByteArray("468114") << "-";
        QTest::newRow("date month 13")
            << int(FieldId::KeyUpdateDate) << QByteArray("10D081") << "-";
        QTest::newRow("date 31-12")
            << int(FieldId::KeyUpdateDate) << QByteArray("F1C081") << "31-12-2024";
        QTest::newRow("time 23:59") << int(FieldId::KeyUpdateTime) << QByteArray("71B3") << "23:59";
        QTest::newRow("time 24:00") << int(FieldId::KeyUpdateTime) << QByteArray("8100") << "-";
    }

    void shownRules()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, data);
        QFETCH(QString, shown);
        const QByteArray frame =
            QByteArray(kDataOffset, '!') + data.leftJustified(kDataLength, '0');
        QCOMPARE(shownText(fieldRow(FieldId(field)), frame), shown);
    }
};

VX_TEST_CLASS(TstFieldTable, Core)
#include "tst_fieldtable.moc"
