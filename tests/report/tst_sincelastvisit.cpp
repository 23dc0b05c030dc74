// Guards "since the last visit" on the report: beside today's takings and
// counters it must print those of the unit's previous visit (its last
// snapshot of an earlier day: not today's, not an older one), say that this
// is the first recorded visit when there is none and that the previous one
// could not be read, naming the records, when they are out of reach; in the
// report's language; and TbReport keeps its 32 fields.
#include "../records/reportfixture.h"
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "servicehistory.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstSinceLastVisit : public QObject
{
    Q_OBJECT

private slots:
    void previousVisitBesideToday_data()
    {
        // Each visit: date, the prefix of its values (ReportFixture::readDone),
        // and its reason; today is 2007-02-01, the fixture's clock.
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("notShown");
        const QStringList three{"2007-01-10 5 read", "2007-01-15 7 clear", "2007-02-01 8 read"};
        QTest::newRow("visita anterior")
            << three << false << false
            << QStringList{"Desde a última visita",
                           "Visita anterior: ",
                           "no PC bancada-2",
                           "(Clear: valores antes de pôr a zero)",
                           "<td class=\"val\">7401,00</td>",
                           "<td class=\"val\">76202</td>",
                           "<td class=\"val\">73,00</td>",
                           "<td class=\"val\">401,00</td>",
                           "<td class=\"val\">6202</td>"}
            << QStringList{"5401,00", "8401,00", "Primeira visita", "{{"};
        QTest::newRow("previous visit")
            << three << false << true
            << QStringList{"Since the last visit",
                           "Previous visit: ", "(Clear: the values before zeroing)",
                           "<td class=\"val\">7401,00</td>"}
            << QStringList{"5401,00", "Desde a última visita", "{{"};
        QTest::newRow("primeira visita")
            << QStringList{"2007-02-01 8 read"} << false << false
            << QStringList{"Primeira visita registada.", "<td class=\"val\">—</td>",
                           "<td class=\"val\">401,00</td>"}
            << QStringList{"8401,00", "Visita anterior: ", "{{"};
        QTest::newRow("first visit")
            << QStringList{} << false << true << QStringList{"First recorded visit."}
            << QStringList{"Previous visit: ", "{{"};
        QTest::newRow("registo ilegível") << QStringList{} << true << false
                                          << QStringList{"Não foi possível ler a visita anterior: ",
                                                         "<td class=\"val\">401,00</td>"}
                                          << QStringList{"Primeira visita", "{{"};
    }
    void previousVisitBesideToday()
    {
        QFETCH(QStringList, visits);
        QFETCH(bool, damaged);
        QFETCH(bool, english);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, notShown);
        ReportFixture m;
        QVERIFY2(m.a.provisioned, qPrintable(m.a.error));
        const QString damagedFile = m.a.dir.filePath(QStringLiteral("damaged.db"));
        QFile f(damagedFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        QtRecordsDatabase unreadable(RecordsLocation::sqliteFile(damagedFile),
                                     QtRecordsDatabase::Mode::MustExist);
        ServiceHistory history(damaged ? static_cast<RecordsDatabase &>(unreadable)
                                       : m.a.recordsDatabase,
                               m.clock, QStringLiteral("bancada-2"));
        const QDateTime today = m.clock.now();
        for (const QString &v : visits) {
            const QStringList parts = v.split(QLatin1Char(' '));
            Snapshot::Reason reason{};
            QVERIFY(Snapshot::reasonNamed(parts[2], &reason));
            m.readDone(parts[1]);
            m.edit.setText(QStringLiteral("Text_numfab_num"), QStringLiteral("12")); // same unit
            m.clock.set(QDateTime(QDate::fromString(parts[0], Qt::ISODate), QTime(11, 0)));
            QString error;
            QVERIFY2(history.record(m.edit, reason, nullptr, &error), qPrintable(error));
        }
        m.clock.set(today);
        m.readDone();
        m.edit.setChecked(QStringLiteral("mnu_EN"), english);

        QVERIFY(m.report.print(Report::previousVisit(history, m.edit, today.date())));
        QCOMPARE(m.printer.printed.size(), 1);
        const QString html = m.printer.printed.first();
        for (const QString &s : shown)
            QVERIFY2(html.contains(s), qPrintable(s));
        for (const QString &s : notShown)
            QVERIFY2(!html.contains(s), qPrintable(s));
        if (damaged) QVERIFY(html.contains(damagedFile.toHtmlEscaped()));
        // The previous visit is put in the page, not stored in the report row.
        QCOMPARE(m.stored().size(), 32);
        QVERIFY(m.msgs.messages.empty());
    }
};

VX_TEST_CLASS(TstSinceLastVisit, Core)
#include "tst_sincelastvisit.moc"
