// Guards the history window: it must list the visits of the unit in the main
// window (not another unit's, nor another application serial's), newest
// first, and plot each visit's takings and counters as numbers read from the
// window's money texts; a visit saved as a configuration file must load back
// with exactly the values of that visit; a records database out of reach must
// be said in the window, naming it, in the technician's language, and never
// crash; the report menu's item must open the window on the unit just read.
#include "appbench.h"
#include "configfile.h"
#include "editset.h"
#include "filedialogs.h"
#include "historychart.h"
#include "historywindow.h"
#include "messages.h"
#include "qtrecordsdatabase.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QTableWidget>
#include <QTest>
#include <QValueAxis>

using namespace vx;

namespace {

// Real records in an SQLite file, with the unit in the main window's model.
struct HistoryBench
{
    QTemporaryDir dir;
    RecordingMessages messages;
    EditSet edit{messages};
    FixedClock clock;
    QtRecordsDatabase db{RecordsLocation::sqliteFile(dir.filePath(QStringLiteral("Registo.db"))),
                         QtRecordsDatabase::Mode::CreateIfMissing};
    ServiceHistory history{db, clock, QStringLiteral("bancada-1")};
    FixedFileDialogs dialogs;

    bool prepare()
    {
        QString error;
        UnitRecords records(db);
        if (records.prepare(&error)) return true;
        qWarning() << error;
        return false;
    }

    void showUnit(const QString &code, const QString &number, const QString &serial)
    {
        edit.setText(QStringLiteral("text_numfab_ano"), code);
        edit.setText(QStringLiteral("Text_numfab_num"), number);
        edit.setText(QStringLiteral("Text_sn_apl"), serial);
    }

    // A visit of the unit with these takings and counters; every other kept
    // value distinct, so that a value saved from the wrong visit shows.
    bool visit(const QString &code, const QString &number, const QString &serial,
               const QDateTime &when, Snapshot::Reason reason, int step)
    {
        showUnit(code, number, serial);
        for (const QString &name : ConfigFile::fieldNames(ConfigFile::Scope::Settings))
            if (!name.startsWith(QLatin1String("Check_")))
                edit.setText(name, QString::number(step));
        edit.setChecked(QStringLiteral("Check_ibut"), step % 2 == 1);
        edit.setText(QStringLiteral("Text_ibut"), QStringLiteral("0000000012A%1").arg(step));
        edit.setText(QStringLiteral("Text_acumulado"), QStringLiteral("%1,50").arg(100 * step));
        edit.setText(QStringLiteral("Text_parcial"), QStringLiteral("%1,00").arg(10 * step));
        edit.setText(QStringLiteral("Text_a_pagar"), QStringLiteral("%1,25").arg(step));
        const char *bands[] = {"00", "08", "12", "15", "20"};
        for (const char *band : bands)
            edit.setText(QStringLiteral("Text_total%1").arg(QLatin1String(band)),
                         QStringLiteral("%1,10").arg(step));
        edit.setText(QStringLiteral("Text_aberturas"), QString::number(1000 * step));
        edit.setText(QStringLiteral("Text_contador"), QString::number(500 * step));
        edit.setText(QStringLiteral("Text_power"), QString::number(step - 1));
        edit.setText(QStringLiteral("Text_prog"), QString::number(step));
        clock.set(when);
        QString error;
        if (history.record(edit, reason, nullptr, &error)) return true;
        qWarning() << error;
        return false;
    }

    // Unit A070512/104233 three times, then B080107/5 once, last.
    bool visits()
    {
        return visit("A0705", "12", "104233", QDateTime(QDate(2007, 2, 1), QTime(9, 5)),
                     Snapshot::Reason::Read, 1) &&
               visit("A0705", "12", "104233", QDateTime(QDate(2007, 3, 1), QTime(10, 15)),
                     Snapshot::Reason::Clear, 2) &&
               visit("A0705", "12", "104233", QDateTime(QDate(2007, 4, 2), QTime(16, 40)),
                     Snapshot::Reason::Read, 3) &&
               visit("B0801", "7", "5", QDateTime(QDate(2007, 4, 3), QTime(8, 0)),
                     Snapshot::Reason::Paste, 4);
    }
};

QList<QPointF> pointsOf(const HistoryWindow &w, HistoryChartKind kind, int series)
{
    const auto all = w.chart()->chart(kind)->series();
    if (series >= all.size()) return {};
    return static_cast<QLineSeries *>(all.at(series))->points();
}

QList<double> yOf(const QList<QPointF> &points)
{
    QList<double> out;
    for (const QPointF &p : points)
        out << p.y();
    return out;
}

} // namespace

class TstHistory : public QObject
{
    Q_OBJECT

private slots:
    // The unit in the window, or the one visited last when the window shows
    // none; a unit is the manufacturing number with its application serial.
    void listsTheUnitsVisits_data()
    {
        QTest::addColumn<QStringList>("inWindow"); // code, number, serial
        QTest::addColumn<QStringList>("dates");    // the table's, top down
        QTest::addColumn<QString>("topReason");
        QTest::addColumn<QList<double>>("accumulated");
        QTest::addColumn<QList<double>>("games");
        QTest::addColumn<QString>("notice");
        QTest::newRow("unidade na janela")
            << QStringList{"A0705", "12", "104233"}
            << QStringList{"02-04-2007", "01-03-2007", "01-02-2007"} << "Leitura"
            << QList<double>{100.5, 200.5, 300.5} << QList<double>{1000, 2000, 3000} << "";
        QTest::newRow("nenhuma na janela")
            << QStringList{"", "", ""} << QStringList{"03-04-2007"} << "PC -> Pic"
            << QList<double>{400.5} << QList<double>{4000} << "";
        QTest::newRow("outra aplicação")
            << QStringList{"A0705", "12", "999"} << QStringList{} << "" << QList<double>{}
            << QList<double>{} << "Ainda não há visitas registadas desta unidade.";
        QTest::newRow("sem visitas")
            << QStringList{"C0910", "1", "77"} << QStringList{} << "" << QList<double>{}
            << QList<double>{} << "Ainda não há visitas registadas desta unidade.";
    }
    void listsTheUnitsVisits()
    {
        QFETCH(QStringList, inWindow);
        QFETCH(QStringList, dates);
        QFETCH(QString, topReason);
        QFETCH(QList<double>, accumulated);
        QFETCH(QList<double>, games);
        QFETCH(QString, notice);
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visits());
        b.showUnit(inWindow[0], inWindow[1], inWindow[2]);
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.showWindowUnit();

        QStringList shown;
        for (int row = 0; row < w.table()->rowCount(); ++row)
            shown << w.table()->item(row, 0)->text();
        QCOMPARE(shown, dates);
        if (!dates.isEmpty()) QCOMPARE(w.table()->item(0, 3)->text(), topReason);
        QCOMPARE(w.notice(), notice);
        // Every unit with visits can be chosen; a unit in the window without
        // any is offered too.
        const int listed = inWindow[0] == QLatin1String("C0910") || inWindow[2] == "999" ? 3 : 2;
        QCOMPARE(w.units()->count(), listed);
        // Money texts plotted as amounts, counters as counts, one point a visit.
        QCOMPARE(yOf(pointsOf(w, HistoryChartKind::Takings, 0)), accumulated);
        QCOMPARE(yOf(pointsOf(w, HistoryChartKind::Counters, 0)), games);
        QCOMPARE(w.chart()->chart(HistoryChartKind::Takings)->series().size(), 3);
        QCOMPARE(w.chart()->chart(HistoryChartKind::Counters)->series().size(), 2);
        QVERIFY(b.messages.messages.empty());
    }

    // The five hour bands are one line, their sum; choosing another unit in
    // the list shows its visits instead.
    void bandsSummedAndOtherUnitChosen()
    {
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visits());
        b.showUnit("A0705", "12", "104233");
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.showWindowUnit();
        const QList<double> bands = yOf(pointsOf(w, HistoryChartKind::Takings, 2));
        QCOMPARE(bands.size(), 3);
        QVERIFY(qFuzzyCompare(bands.at(1), 5 * 2.10));
        const auto *line =
            static_cast<QLineSeries *>(w.chart()->chart(HistoryChartKind::Takings)->series().at(2));
        QCOMPARE(line->name(), QStringLiteral("Totais 00-24h"));

        const int other = w.units()->findData(QStringList{"B08017", "5"});
        QVERIFY(other >= 0);
        w.units()->setCurrentIndex(other);
        emit w.units()->activated(other);
        QCOMPARE(w.visits().size(), 1);
        QCOMPARE(w.table()->item(0, 2)->text(), QStringLiteral("bancada-1"));
        w.setLanguage(1);
        QCOMPARE(w.table()->item(0, 3)->text(), QStringLiteral("PC -> Pic"));
        QCOMPARE(w.table()->horizontalHeaderItem(4)->text(), QStringLiteral("Accumulated"));
    }

    // A visit saved as a configuration file gives back that visit's values;
    // a file that cannot be written is said, naming it.
    void savedVisitLoadsBack_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("step"); // of the visit in that row
        QTest::newRow("mais recente") << 0 << "a.json" << 3;
        QTest::newRow("antes do clear") << 1 << "b.json" << 2;
        QTest::newRow("pasta inexistente") << 0 << "missing/a.json" << 0;
        QTest::newRow("cancelado") << 0 << "" << 0;
    }
    void savedVisitLoadsBack()
    {
        QFETCH(int, row);
        QFETCH(QString, answer);
        QFETCH(int, step);
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visits());
        b.showUnit("A0705", "12", "104233");
        b.dialogs.answer = answer.isEmpty() ? QString() : b.dir.filePath(answer);
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.showWindowUnit();
        const Snapshot visit = w.visits().at(w.visits().size() - 1 - row);

        QCOMPARE(w.saveVisit(row), step > 0);
        QCOMPARE(b.dialogs.lastCaption, QStringLiteral("Guardar como configuração…"));
        QVERIFY(b.dialogs.lastSuggestion.endsWith(
            QStringLiteral("A070512-%1.json").arg(visit.taken.toString("yyyyMMdd-HHmm"))));
        if (step == 0) {
            QCOMPARE(int(b.messages.messages.size()), answer.isEmpty() ? 0 : 1);
            if (!answer.isEmpty()) QVERIFY(b.messages.texts().first().contains(b.dialogs.answer));
            return;
        }
        QString error;
        const auto file = ConfigFile::load(b.dialogs.answer, &error);
        QVERIFY2(file, qPrintable(error));
        for (const QString &name : ConfigFile::fieldNames(ConfigFile::Scope::All))
            QCOMPARE(file->value(name), visit.values.value(name));
        QCOMPARE(file->value(QStringLiteral("Text_acumulado")),
                 QStringLiteral("%1,50").arg(100 * step));
        QCOMPARE(file->value(QStringLiteral("Check_ibut")), QString::number(step % 2));
        QCOMPARE(file->manufacturingNumber, QStringLiteral("A070512"));
        QCOMPARE(file->applicationSerial, QStringLiteral("104233"));
        QCOMPARE(file->saved, visit.taken);
        QVERIFY(b.messages.messages.empty());
    }

    // Records out of reach: said in the window, naming where they are.
    void unreachableRecordsNamed_data()
    {
        QTest::addColumn<QString>("location"); // a URI, or a file name in the folder
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("servidor fora de alcance")
            << "postgresql://vx@127.0.0.1:1/registo" << 0 << "Não foi possível ler o histórico em ";
        QTest::newRow("ficheiro estragado")
            << "Registo.db" << 1 << "The history could not be read from ";
    }
    void unreachableRecordsNamed()
    {
        QFETCH(QString, location);
        QFETCH(int, idioma);
        QFETCH(QString, sentence);
        QTemporaryDir dir;
        RecordsLocation where;
        QString error;
        if (location.startsWith(QLatin1String("postgresql:"))) {
            QVERIFY2(RecordsLocation::parse(location, &where, &error), qPrintable(error));
        } else {
            QFile damaged(dir.filePath(location));
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(QByteArray(4096, 'x'));
            damaged.close();
            where = RecordsLocation::sqliteFile(damaged.fileName());
        }
        QtRecordsDatabase db(where, QtRecordsDatabase::Mode::MustExist);
        RecordingMessages messages;
        EditSet edit(messages);
        FixedClock clock;
        ServiceHistory history(db, clock, QStringLiteral("bancada-1"));
        edit.setText(QStringLiteral("text_numfab_ano"), QStringLiteral("A0705"));
        edit.setText(QStringLiteral("Text_numfab_num"), QStringLiteral("12"));
        HistoryWindow w(history, edit, nullptr, messages);
        w.setLanguage(idioma);
        w.showWindowUnit();

        QVERIFY2(w.notice().startsWith(sentence), qPrintable(w.notice()));
        QVERIFY2(w.notice().contains(history.where()), qPrintable(w.notice()));
        QCOMPARE(w.table()->rowCount(), 0);
        QVERIFY(messages.messages.empty());
        // Trying again is safe, and says the same.
        w.refresh();
        QVERIFY(w.notice().startsWith(sentence));
    }

    // Drawn with no visit, one, or a season of them: the time axis never
    // collapses to a point and the values fit the scale. With
    // VX_SCREENSHOT_FOLDER set, the season is saved there as history-pt.png
    // and history-en.png (the README's picture).
    void drawsAnyNumberOfVisits_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("nenhuma") << 0;
        QTest::newRow("uma") << 1;
        QTest::newRow("estação") << 9;
    }
    void drawsAnyNumberOfVisits()
    {
        QFETCH(int, count);
        HistoryBench b;
        QVERIFY(b.prepare());
        // Monthly visits; the takings grow and the fifth visit is a Clear,
        // after which the counters start again.
        for (int i = 0; i < count; ++i) {
            const QDateTime when(QDate(2026, 4, 6).addDays(28 * i), QTime(9 + i % 6, 10 * (i % 5)));
            const int step = i < 5 ? i + 1 : i - 4;
            QVERIFY(b.visit("A2415", "3", "104233", when,
                            i == 4 ? Snapshot::Reason::Clear : Snapshot::Reason::Read, step));
        }
        b.showUnit("A2415", "3", "104233");
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.resize(1100, 760);
        w.showWindowUnit();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString folder = qEnvironmentVariable("VX_SCREENSHOT_FOLDER");
        for (int idioma : {0, 1}) {
            w.setLanguage(idioma);
            if (w.table()->rowCount() > 0) w.table()->selectRow(0);
            // The charts lay out their legends on the next turn of the loop.
            QCoreApplication::processEvents();
            const QImage picture = w.grab().toImage();
            QVERIFY(!picture.isNull());
            for (const HistoryChartKind kind :
                 {HistoryChartKind::Takings, HistoryChartKind::Counters}) {
                QChart *chart = w.chart()->chart(kind);
                const auto *x = qobject_cast<QDateTimeAxis *>(chart->axes(Qt::Horizontal).value(0));
                const auto *y = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).value(0));
                QVERIFY(x && y);
                QVERIFY(x->min() < x->max());
                QVERIFY(y->min() < y->max());
                for (const QAbstractSeries *s : chart->series())
                    for (const QPointF &p : static_cast<const QLineSeries *>(s)->points()) {
                        QVERIFY(p.y() >= y->min() && p.y() <= y->max());
                        QVERIFY(p.x() >= x->min().toMSecsSinceEpoch() &&
                                p.x() <= x->max().toMSecsSinceEpoch());
                    }
            }
            if (!folder.isEmpty() && count > 1)
                QVERIFY(picture.save(
                    QDir(folder).filePath(idioma == 1 ? QStringLiteral("history-en.png")
                                                      : QStringLiteral("history-pt.png"))));
        }
    }

    // "Relatório → Histórico…" opens on the unit just read, whose read the
    // history recorded, in the window's language.
    void menuOpensOnTheUnitRead()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.window().aplicar_idioma(1);
        QAction *item = o.window().action(QStringLiteral("mnu_historico"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("History…"));
        item->trigger();
        HistoryWindow *w = o.window().historyWindow();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("History"));
        QVERIFY2(!w->visits().isEmpty(), qPrintable(w->notice()));
        const Snapshot &last = w->visits().last();
        QCOMPARE(last.reason, Snapshot::Reason::Read);
        QCOMPARE(last.manufacturingNumber,
                 ServiceHistory::unitKey(o.edit().text(QStringLiteral("text_numfab_ano")),
                                         o.edit().text(QStringLiteral("Text_numfab_num"))));
        QCOMPARE(last.values.value(QStringLiteral("Text_acumulado")),
                 o.edit().text(QStringLiteral("Text_acumulado")));
        o.window().aplicar_idioma(0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Histórico"));
    }
};

VX_TEST_CLASS(TstHistory, Widgets)
#include "tst_history.moc"
