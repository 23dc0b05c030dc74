// Guards the takings window: it must open on the units visited in the year up
// to today, one row each with the takings added up across a Clear, a unit
// whose total went down in red with the sign in full; fit a 1024 x 768
// screen in both languages; save what it shows as CSV and PDF; and the
// report menu's item must open it on the unit just read.
#include "appbench.h"
#include "captions.h"
#include "filedialogs.h"
#include "fixedclock.h"
#include "fixedfiledialogs.h"
#include "recordingmessages.h"
#include "recordingreportprinter.h"
#include "report.h"
#include "servicehistory.h"
#include "takingschart.h"
#include "takingsdocument.h"
#include "takingswindow.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QAction>
#include <QChart>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace vx;

namespace {

// Real records in an SQLite file, the report writing into a recorder.
struct TakingsBench
{
    QTemporaryDir dir;
    RecordingMessages messages;
    EditSet edit{messages};
    FixedClock clock{QDateTime(QDate(2026, 12, 1), QTime(15, 0))};
    QtRecordsDatabase db{RecordsLocation::sqliteFile(dir.filePath(QStringLiteral("Registo.db"))),
                         QtRecordsDatabase::Mode::CreateIfMissing};
    ServiceHistory history{db, clock, QStringLiteral("bancada-1")};
    Databases databases{dir.path()};
    RecordingReportPrinter printer;
    Report report{edit, databases, printer, messages, clock};
    FixedFileDialogs dialogs;

    bool visit(const QString &unit, const QDate &day, Snapshot::Reason reason,
               const QString &accumulated, const QString &bands)
    {
        Snapshot s;
        s.reason = reason;
        s.manufacturingNumber = unit;
        s.applicationSerial = QStringLiteral("104233");
        s.taken = QDateTime(day, QTime(9, 30));
        s.host = QStringLiteral("bancada-1");
        s.values.insert(QStringLiteral("Text_acumulado"), accumulated);
        for (const QString &band : TakingsReport::bandFields())
            s.values.insert(band, bands);
        s.values.insert(QStringLiteral("Text_aberturas"), QStringLiteral("10"));
        s.values.insert(QStringLiteral("Text_power"), QStringLiteral("1"));
        QString error;
        if (history.store(s, nullptr, &error)) return true;
        qWarning() << error;
        return false;
    }

    // A24151 with a Clear in the middle, B08017 whose total went down, and
    // C01011 visited only before the year shown.
    bool fleet()
    {
        UnitRecords records(db);
        QString error;
        using R = Snapshot::Reason;
        return records.prepare(&error) &&
               visit("A24151", QDate(2026, 1, 10), R::Read, "1000,00", "10,00") &&
               visit("A24151", QDate(2026, 5, 10), R::Clear, "1523,00", "114,60") &&
               visit("A24151", QDate(2026, 11, 10), R::Read, "2000,00", "95,40") &&
               visit("B08017", QDate(2026, 2, 1), R::Read, "800,00", "20,00") &&
               visit("B08017", QDate(2026, 6, 1), R::Read, "700,00", "30,00") &&
               visit("C01011", QDate(2025, 6, 1), R::Read, "5,00", "1,00");
    }
};

} // namespace

class TstTakingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheYear()
    {
        TakingsBench b;
        QVERIFY(b.fleet());
        TakingsWindow w(b.history, b.report, b.clock, &b.dialogs, b.messages);
        w.setLanguage(1);
        w.refresh();
        QCOMPARE(w.from(), QDate(2025, 12, 2));
        QCOMPARE(w.to(), QDate(2026, 12, 1));
        QVERIFY2(w.notice().isEmpty(), qPrintable(w.notice()));
        const QTableWidget *t = w.table();
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(t->item(0, 0)->text(), QStringLiteral("A24151/104233"));
        QCOMPARE(t->item(0, 7)->text(), QStringLiteral("1000,00")); // takings
        QCOMPARE(t->item(0, 8)->text(), QStringLiteral("200,00"));  // 104,60 + 95,40
        QCOMPARE(t->item(0, 4)->text(), QStringLiteral("1"));       // Clears
        QVERIFY(t->item(0, 0)->toolTip().isEmpty());
        QCOMPARE(t->item(1, 0)->text(), QStringLiteral("B08017/104233"));
        QCOMPARE(t->item(1, t->columnCount() - 1)->text(), QStringLiteral("total down"));
        QVERIFY2(t->item(1, 0)->toolTip().contains(
                     QLatin1String("the accumulated takings went down from 800,00 to 700,00")),
                 qPrintable(t->item(1, 0)->toolTip()));
        QVERIFY(t->item(1, 0)->foreground() != t->item(0, 0)->foreground());
        QCOMPARE(w.chart()->units(), (QStringList{"A24151/104233", "B08017/104233"}));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("Label_resumo"))->text(),
                 QStringLiteral("2 units: takings 1000,00, 1 with signs"));

        w.setPeriod(QDate(2026, 7, 1), QDate(2026, 6, 1));
        w.refresh();
        QCOMPARE(t->rowCount(), 0);
        QCOMPARE(w.notice(), Captions::caption(QStringLiteral("takingsBackwards"), 1));
    }

    // More units than bars that read: the largest takings drawn, largest at
    // the top, and the title says so; the table still has every unit.
    void chartOfTheLargest()
    {
        TakingsBench b;
        QVERIFY(b.fleet());
        for (int u = 1; u <= TakingsChart::kUnits + 5; ++u) {
            const QString unit = QStringLiteral("D%1").arg(u, 5, 10, QLatin1Char('0'));
            QVERIFY(b.visit(unit, QDate(2026, 3, 1), Snapshot::Reason::Read, "0,00", "0,00"));
            QVERIFY(b.visit(unit, QDate(2026, 4, 1), Snapshot::Reason::Read,
                            QStringLiteral("%1,00").arg(u), "1,00"));
        }
        TakingsWindow w(b.history, b.report, b.clock, &b.dialogs, b.messages);
        w.refresh();
        QCOMPARE(w.table()->rowCount(), TakingsChart::kUnits + 5 + 2);
        const QStringList units = w.chart()->units();
        QCOMPARE(units.size(), TakingsChart::kUnits);
        QCOMPARE(units.first(), QStringLiteral("A24151/104233"));
        QCOMPARE(units.at(1), QStringLiteral("D00025/104233"));
        QVERIFY(!units.contains(QStringLiteral("D00001/104233")));
        QVERIFY(w.chart()->chart()->title().contains(QString::number(TakingsChart::kUnits)));
    }

    // What is saved is what the window shows, through the records' CSV and
    // the report's PDF.
    void savesCsvAndPdf()
    {
        TakingsBench b;
        QVERIFY(b.fleet());
        TakingsWindow w(b.history, b.report, b.clock, &b.dialogs, b.messages);
        w.refresh();
        b.dialogs.answer = b.dir.filePath(QStringLiteral("receitas.csv"));
        QVERIFY(w.saveCsv());
        QFile csv(b.dialogs.answer);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(csv.readAll()), TakingsDocument::csv(w.rows()));
        b.dialogs.answer = b.dir.filePath(QStringLiteral("receitas.pdf"));
        QVERIFY(w.savePdf());
        QCOMPARE(b.printer.exportPaths, QStringList{b.dialogs.answer});
        QVERIFY(b.printer.exported.first().contains(QLatin1String("Receitas por unidade")));
        QVERIFY(b.printer.exported.first().contains(QLatin1String("B08017/104233")));
        // A folder that cannot be written is said, and nothing else happens.
        b.dialogs.answer = b.dir.filePath(QStringLiteral("absent/receitas.csv"));
        QVERIFY(!w.saveCsv());
        QCOMPARE(b.messages.messages.size(), size_t(1));
    }

    // Whole on a 1024 x 768 screen in either language. With VX_SCREENSHOT_DIR
    // set, saved there as takings-pt.png and takings-en.png.
    void fitsSmallScreen()
    {
        TakingsBench b;
        QVERIFY(b.fleet());
        TakingsWindow w(b.history, b.report, b.clock, &b.dialogs, b.messages);
        QVERIFY(w.width() <= 1024 && w.height() <= 768 - 40);
        w.refresh();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const int idioma : {0, 1}) {
            w.setLanguage(idioma);
            QCoreApplication::processEvents();
            for (const char *name : {"Command_actualizar", "Command_guardar_csv",
                                     "Command_guardar_pdf", "Date_de", "Date_ate"}) {
                const auto *c = w.findChild<QWidget *>(QLatin1String(name));
                QVERIFY(c && c->isVisible());
                QVERIFY2(w.rect().contains(QRect(c->mapTo(&w, QPoint(0, 0)), c->size())), name);
                QVERIFY2(c->width() >= c->sizeHint().width(), name);
            }
            // Every column in sight, the signs' whole.
            const QTableWidget *t = w.table();
            const int last = t->columnCount() - 1;
            QVERIFY(t->columnViewportPosition(last) +
                        t->fontMetrics().horizontalAdvance(t->item(1, last)->text()) <=
                    t->viewport()->width());
            saveScreenshot(&w, idioma == 1 ? "takings-en.png" : "takings-pt.png");
        }
    }

    void menuOpensIt()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.window().aplicar_idioma(1);
        QAction *item = o.window().action(QStringLiteral("mnu_receitas"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Takings by unit"));
        item->trigger();
        TakingsWindow *w = o.window().takingsWindow();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Takings by unit"));
        QCOMPARE(w->rows().size(), 1);
        QCOMPARE(w->rows().first().manufacturingNumber,
                 ServiceHistory::unitKey(o.edit().text(QStringLiteral("text_numfab_ano")),
                                         o.edit().text(QStringLiteral("Text_numfab_num"))));
        o.window().aplicar_idioma(0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Receitas por unidade"));
    }
};

VX_TEST_CLASS(TstTakingsWindow, Widgets)
#include "tst_takingswindow.moc"
