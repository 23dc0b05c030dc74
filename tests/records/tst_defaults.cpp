// The defaults window's "Aceitar" and its layout rule. Guards against a save
// that touches idioma, Comm or Pagar, that stores half of the values when the
// file cannot take them all, that reports success on a missing or locked
// file, that validates or converts what the window shows ("-" must come back
// as "-" in the next "Novo"), and against scaling by the wrong axis.
#include "clock.h"
#include "countingengine.h"
#include "datafolder.h"
#include "defaults.h"
#include "editset.h"
#include "fixedclock.h"
#include "formpredefinir.h"
#include "messages.h"
#include "newunit.h"
#include "recordingmessages.h"
#include "screenfit.h"
#include "tables.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

namespace {

struct DefaultsFixture
{
    DataFolder a;
    RecordingMessages msgs;
    EditSet edit{msgs};
    Defaults defaults{edit, a.databases, msgs};

    void present(const QString &prefix)
    {
        int i = 0;
        for (const auto &c : kDefaults)
            edit.setText(toQString(c.window), prefix + QString::number(++i));
    }
    QVariantMap row()
    {
        QStringList fields{"idioma", "Comm", "Pagar"};
        for (const auto &c : kDefaults)
            fields << toQString(c.field);
        QVariantMap v;
        QString error;
        if (!a.databases.readSettings(fields, &v, &error)) qWarning() << error;
        return v;
    }
};

} // namespace

class TstDefaults : public QObject
{
    Q_OBJECT

private slots:
    void storesThe25WindowFields();
    void storeTwice();
    void dashComesBackInNew();
    void failure_data();
    void failure();
    void scaling_data();
    void scaling();
};

void TstDefaults::storesThe25WindowFields()
{
    DefaultsFixture j;
    QString error;
    QVERIFY(j.a.databases.writeLanguage(1, &error));
    QVERIFY(j.a.databases.writeComm(4, &error));
    DataFolder::sql(j.a.databases.settingsFile(), {"UPDATE TbValoresPre1 SET Pagar = '99,99'"});
    j.present("v");
    j.edit.setText("Text_parcial", "");     // stored as shown, unchecked
    j.edit.setText("Text_a_pagar", "1,00"); // never stored

    QVERIFY(j.defaults.accept());

    QVERIFY(j.msgs.messages.empty());
    const QVariantMap v = j.row();
    int i = 0;
    for (const auto &c : kDefaults) {
        ++i;
        const QString expected = c.field == "Parcial" ? QString("") : "v" + QString::number(i);
        QCOMPARE(v.value(toQString(c.field)).toString(), expected);
        QVERIFY(!v.value(toQString(c.field)).isNull());
    }
    QCOMPARE(v.value("idioma").toString(), QStringLiteral("EN"));
    QCOMPARE(v.value("Comm").toInt(), 4);
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("99,99"));

    const auto values = Defaults::values(j.edit);
    QCOMPARE(values.size(), 25);
    QCOMPARE(values.first().first, QStringLiteral("TarS00"));
    QCOMPARE(values.last().first, QStringLiteral("prog"));
}

void TstDefaults::storeTwice()
{
    DefaultsFixture j;
    j.present("a");
    QVERIFY(j.defaults.accept());
    j.present("b");
    QVERIFY(j.defaults.accept());
    QCOMPARE(DataFolder::count(j.a.databases.settingsFile(), "TbValoresPre1"), 1);
    QCOMPARE(j.row().value("TarS00").toString(), QStringLiteral("b1"));
    QCOMPARE(j.row().value("prog").toString(), QStringLiteral("b25"));
}

void TstDefaults::dashComesBackInNew()
{
    DefaultsFixture j;
    j.present("1");
    j.edit.setText("Text_S08", "-");
    j.edit.setText("Text_contador", "-");
    QVERIFY(j.defaults.accept());

    FixedClock clock;
    CountingEngine engine;
    NewUnit newUnit(j.edit, engine, j.a.databases, j.a.records, j.msgs, clock);
    j.edit.setText("Text_S08", "2,00");
    j.edit.setText("Text_contador", "5");
    QVERIFY(newUnit.prepare());
    QCOMPARE(j.edit.text("Text_S08"), QStringLiteral("-"));
    QCOMPARE(j.edit.text("Text_contador"), QStringLiteral("-"));
    QCOMPARE(j.edit.text("Text_S00"), QStringLiteral("11"));
}

void TstDefaults::failure_data()
{
    QTest::addColumn<bool>("erase");
    QTest::newRow("missing") << true;
    QTest::newRow("locked") << false;
}

void TstDefaults::failure()
{
    QFETCH(bool, erase);
    DefaultsFixture j;
    const QString file = j.a.databases.settingsFile();
    std::unique_ptr<DataFolder::WriteLock> lock;
    if (erase)
        QVERIFY(QFile::remove(file));
    else
        lock = std::make_unique<DataFolder::WriteLock>(file);
    j.present("x");

    QVERIFY(!j.defaults.accept());

    QCOMPARE(j.msgs.messages.size(), size_t(1));
    QCOMPARE(j.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(j.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY2(j.msgs.messages[0].text.contains("ValoresPre1.db"),
             qPrintable(j.msgs.messages[0].text));
    lock.reset();
    if (erase) {
        QVERIFY(!QFile::exists(file));
    } else {
        const QVariantMap v = j.row();
        for (const auto &c : kDefaults)
            QCOMPARE(v.value(toQString(c.field)).toString(), toQString(c.initial));
    }
}

void TstDefaults::scaling_data()
{
    QTest::addColumn<QSize>("screenSize");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("control");
    const QSize j(400, 200);
    const QRect c(40, 60, 100, 30); // left, top, width, height
    QTest::newRow("800x600") << QSize(800, 600) << j << c;
    QTest::newRow("1600x900") << QSize(1600, 900) << QSize(800, 300) << QRect(80, 90, 200, 45);
    QTest::newRow("1024x768") << QSize(1024, 768) << QSize(512, 256) << QRect(51, 77, 128, 38);
    QTest::newRow("640x480") << QSize(640, 480) << QSize(320, 160) << QRect(32, 48, 80, 24);
    QTest::newRow("tall-narrow") << QSize(400, 1200) << QSize(200, 400) << QRect(20, 120, 50, 60);
}

void TstDefaults::scaling()
{
    QFETCH(QSize, screenSize);
    QFETCH(QSize, window);
    QFETCH(QRect, control);
    // The main window's rules from the defaults window's 800 x 600 design,
    // without the main window's 640-pixel exception.
    const QSize design = FormPredefinir::kDesignScreen;
    QCOMPARE(ScreenFit::scale(QSize(400, 200), screenSize, design), window);
    QCOMPARE(ScreenFit::scale(QRect(40, 60, 100, 30), screenSize, design), control);
}

VX_TEST_CLASS(TstDefaults, Widgets)
#include "tst_defaults.moc"
