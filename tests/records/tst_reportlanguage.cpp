// Guards the report's language: in Portuguese it is the layout in the data
// folder, as always; in English the English layout, the technician's own
// manutencao-en.html when there is one, else the one installed with the tool,
// filled with the same values. A report in the wrong language, or an English
// report that ignores the technician's layout, is the fault.
#include "reportfixture.h"
#include "testsuite.h"

#include <QTest>

class TstReportLanguage : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QByteArray>("ownEnglishLayout");
        QTest::addColumn<QString>("heading");
        QTest::newRow("pt") << false << QByteArray() << "Relatório de Manutenção";
        QTest::newRow("en") << true << QByteArray() << "Maintenance Report";
        QTest::newRow("en proprio")
            << true << QByteArray("<h1>Our sheet {{ns}}</h1>") << "Our sheet A070512";
    }
    void layoutFollowsLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QByteArray, ownEnglishLayout);
        QFETCH(QString, heading);
        ReportFixture m;
        QVERIFY2(m.a.provisioned, qPrintable(m.a.error));
        if (!ownEnglishLayout.isEmpty()) {
            QFile f(QDir(m.a.databases.folder()).filePath("manutencao-en.html"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ownEnglishLayout);
        }
        m.readDone();
        m.edit.setChecked("mnu_EN", english);
        QVERIFY(m.report.print());
        QCOMPARE(m.printer.printed.size(), 1);
        const QString html = m.printer.printed.first();
        QVERIFY2(html.contains(heading), qPrintable(html.left(400)));
        if (ownEnglishLayout.isEmpty()) {
            QVERIFY(html.contains("A070512"));
            QVERIFY(html.contains("6505"));
            QVERIFY(!html.contains("{{"));
        }
    }
};

VX_TEST_CLASS(TstReportLanguage, Core)
#include "tst_reportlanguage.moc"
