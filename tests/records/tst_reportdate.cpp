// Guards the dates of the report: the date it was made (Data_Sys, "Data do
// relatório") and the previous visit's are written in the report's language,
// whatever the system's locale. A Portuguese report that reads "10 Dec 2026"
// beside the timer's "10-12-2026" is the fault.
#include "reportfixture.h"
#include "testsuite.h"

#include <QTest>

class TstReportDate : public QObject
{
    Q_OBJECT

private slots:
    void datesFollowLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("made");     // Data_Sys
        QTest::addColumn<QString>("previous"); // the previous visit's date
        QTest::addColumn<QString>("sentence");
        QTest::newRow("pt") << false << "10/12/26 @ 14:05"
                            << "03/11/26 @ 09:30"
                            << "Visita anterior: 03/11/26 @ 09:30, no PC bancada-2 (leitura).";
        QTest::newRow("en") << true << "10/12/2026 @ 14:05"
                            << "03/11/2026 @ 09:30"
                            << "Previous visit: 03/11/2026 @ 09:30, on PC bancada-2 (read).";
    }
    void datesFollowLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QString, made);
        QFETCH(QString, previous);
        QFETCH(QString, sentence);
        ReportFixture m;
        QVERIFY2(m.a.provisioned, qPrintable(m.a.error));
        m.readDone();
        m.edit.setChecked("mnu_EN", english);
        m.clock.set(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 30)));
        Report::PreviousVisit visit;
        visit.state = Report::PreviousVisit::State::Found;
        visit.snapshot.taken = QDateTime(QDate(2026, 11, 3), QTime(9, 30));
        visit.snapshot.host = QStringLiteral("bancada-2");
        visit.snapshot.reason = Snapshot::Reason::Read;

        QVERIFY(m.report.print(visit));
        QCOMPARE(m.stored().value("Data_Sys").toString(), made);
        const QString html = m.printer.printed.value(0);
        QVERIFY2(html.contains(made), qPrintable(html.left(600)));
        QVERIFY(html.contains(sentence));
        const QVariantMap since = Report::sinceLastVisit(visit, m.edit, english ? 1 : 0);
        QCOMPARE(since.value("previous_date").toString(), previous);
    }
};

VX_TEST_CLASS(TstReportDate, Core)
#include "tst_reportdate.moc"
