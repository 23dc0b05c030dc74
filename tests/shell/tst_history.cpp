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
#include "fixedclock.h"
#include "fixedfiledialogs.h"
#include "historychart.h"
#include "historyvalues.h"
#include "historywindow.h"
#include "messages.h"
#include "qtrecordsdatabase.h"
#include "recordingmessages.h"
#include "recordslocation.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
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
        QTest::newRow("janela por ler")
            << QStringList{"-", "-", "-"} << QStringList{"03-04-2007"} << "PC -> Pic"
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
        w.resize(HistoryWindow::kDefaultSize);
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

    // On a 1024 x 768 screen the whole window shows: the unit's line with
    // "Actualizar", every column of the table and "Guardar como
    // configuração…", and no chart label is cut. With VX_SCREENSHOT_FOLDER
    // set, the Portuguese window is saved there as history-1024x768.png.
    void fitsSmallScreen_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("host"); // of the last visit
        QTest::newRow("ecrã inteiro") << QSize(1024, 768) << 0 << "bancada-1";
        QTest::newRow("ao abrir") << HistoryWindow::kDefaultSize << 0 << "bancada-1";
        QTest::newRow("ao abrir, inglês") << HistoryWindow::kDefaultSize << 1 << "bancada-1";
        QTest::newRow("nome de PC comprido")
            << HistoryWindow::kDefaultSize << 1 << "oficina-do-norte-portatil-de-servico-7";
    }
    void fitsSmallScreen()
    {
        QFETCH(QSize, size);
        QFETCH(int, idioma);
        QFETCH(QString, host);
        HistoryBench b;
        QVERIFY(b.prepare());
        for (int i = 0; i < 8; ++i)
            QVERIFY(b.visit("A2415", "3", "104233",
                            QDateTime(QDate(2026, 4, 6).addDays(28 * i), QTime(9 + i % 6, 10)),
                            Snapshot::Reason::Read, 100 * (i + 1)));
        b.clock.set(QDateTime(QDate(2026, 12, 1), QTime(15, 10)));
        ServiceHistory elsewhere(b.db, b.clock, host);
        QVERIFY(elsewhere.record(b.edit, Snapshot::Reason::Clear, nullptr, nullptr));
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        QVERIFY(w.width() <= 1024 && w.height() <= 768 - 40); // room for a title bar
        w.resize(size);
        w.setLanguage(idioma);
        w.showWindowUnit();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.table()->selectRow(0);
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), size);
        for (const char *name : {"Command_actualizar", "Command_guardar", "Combo_unidade"}) {
            const auto *c = w.findChild<QWidget *>(QLatin1String(name));
            QVERIFY(c && c->isVisible());
            QVERIFY2(w.rect().contains(QRect(c->mapTo(&w, QPoint(0, 0)), c->size())), name);
            QVERIFY2(c->width() >= c->sizeHint().width(), name);
        }
        const QTableWidget *t = w.table();
        const int last = t->columnCount() - 1;
        const int right = t->columnViewportPosition(last) + t->columnWidth(last);
        QVERIFY2(right <= t->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(right).arg(t->viewport()->width())));
        // Every value whole; only a long PC name is cut, whole in its tooltip.
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem *item = t->item(0, c);
            if (item->text() == host) {
                QCOMPARE(item->toolTip(), host);
                continue;
            }
            const int needed = t->fontMetrics().horizontalAdvance(item->text());
            QVERIFY2(t->columnWidth(c) >= needed, qPrintable(item->text()));
        }
        for (const HistoryChartKind kind : {HistoryChartKind::Takings, HistoryChartKind::Counters})
            for (const QAbstractAxis *axis : w.chart()->chart(kind)->axes())
                QVERIFY(!axis->labelsTruncated());
        const QString folder = qEnvironmentVariable("VX_SCREENSHOT_FOLDER");
        if (!folder.isEmpty() && size == QSize(1024, 768))
            QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("history-1024x768.png"))));
    }

    // Escape and Ctrl+W close the window, as they close other windows.
    void keysClose_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void keysClose()
    {
        QFETCH(QKeySequence, keys);
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visits());
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.showWindowUnit();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        w.table()->setFocus();
        QTest::keySequence(&w, keys);
        QVERIFY(!w.isVisible());
    }

    // Visits on one day, a quarter of an hour apart, stay apart on the time
    // axis (more than two points' width) instead of stacking on a line of a
    // 24-hour axis.
    void visitsOfOneDayApart()
    {
        HistoryBench b;
        QVERIFY(b.prepare());
        const QDate day(2026, 12, 10);
        int step = 1;
        for (const QTime at : {QTime(9, 5), QTime(9, 20), QTime(11, 0), QTime(16, 40)})
            QVERIFY(b.visit("A2415", "3", "104233", QDateTime(day, at), Snapshot::Reason::Read,
                            step++));
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.resize(HistoryWindow::kDefaultSize);
        w.showWindowUnit();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        QChart *chart = w.chart()->chart(HistoryChartKind::Counters);
        auto *line = static_cast<QLineSeries *>(chart->series().at(0));
        QCOMPARE(line->count(), 4);
        for (int i = 1; i < line->count(); ++i) {
            const qreal apart = chart->mapToPosition(line->at(i), line).x() -
                                chart->mapToPosition(line->at(i - 1), line).x();
            QVERIFY2(apart >= 8, qPrintable(QString::number(apart)));
        }
        for (const QAbstractAxis *axis : chart->axes())
            QVERIFY(!axis->labelsTruncated());
    }

    // A value axis reads in round steps from zero, above the highest value,
    // and no two of its labels are the same: an all-zero chart of counters
    // once read 1, 1, 1, 0, 0, 0.
    void valueScale_data()
    {
        QTest::addColumn<double>("highest");
        QTest::addColumn<int>("kind"); // HistoryChartKind
        const int takings = int(HistoryChartKind::Takings);
        const int counters = int(HistoryChartKind::Counters);
        QTest::newRow("contadores a zero") << 0.0 << counters;
        QTest::newRow("receitas a zero") << 0.0 << takings;
        QTest::newRow("um jogo") << 1.0 << counters;
        QTest::newRow("três jogos") << 3.0 << counters;
        QTest::newRow("cêntimos") << 0.04 << takings;
        QTest::newRow("soma de bandas") << 5 * 2.1 << takings;
        QTest::newRow("milhares") << 12345.0 << counters;
        QTest::newRow("receitas grandes") << 99999.99 << takings;
    }
    void valueScale()
    {
        QFETCH(double, highest);
        QFETCH(int, kind);
        const auto k = HistoryChartKind(kind);
        const HistoryScale scale = HistoryValues::scale(highest, k);
        QVERIFY(scale.ticks >= 2 && scale.ticks <= 8);
        QVERIFY(scale.top > highest);
        const char *format = k == HistoryChartKind::Takings ? "%.2f" : "%.0f";
        QStringList labels;
        for (int i = 0; i < scale.ticks; ++i)
            labels << QString::asprintf(format, scale.top * i / (scale.ticks - 1));
        labels.removeDuplicates();
        QCOMPARE(labels.size(), scale.ticks);
        QCOMPARE(labels.first(), QString::asprintf(format, 0.0));
    }

    // A unit whose counters are all zero and whose takings are cents: both
    // value axes still read in distinct steps from zero.
    void allZeroChartTicks()
    {
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visit("A2415", "3", "104233", QDateTime(QDate(2026, 12, 10), QTime(9, 0)),
                        Snapshot::Reason::Read, 0));
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.showWindowUnit();
        QCOMPARE(yOf(pointsOf(w, HistoryChartKind::Counters, 0)), QList<double>{0});
        for (const HistoryChartKind kind :
             {HistoryChartKind::Takings, HistoryChartKind::Counters}) {
            const auto *y =
                qobject_cast<QValueAxis *>(w.chart()->chart(kind)->axes(Qt::Vertical).value(0));
            QVERIFY(y && y->tickCount() >= 2);
            QStringList labels;
            for (int i = 0; i < y->tickCount(); ++i)
                labels << QString::asprintf(qPrintable(y->labelFormat()),
                                            y->min() +
                                                (y->max() - y->min()) * i / (y->tickCount() - 1));
            QCOMPARE(labels.first(), QString::asprintf(qPrintable(y->labelFormat()), 0.0));
            QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
        }
    }

    // One visit is "1 visita" / "1 visit", in the count and in the list.
    void oneVisitSingular_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("item");
        QTest::newRow("pt") << 0 << "1 visita"
                            << "B08017, aplicação 5 (1 visita)";
        QTest::newRow("en") << 1 << "1 visit"
                            << "B08017, application 5 (1 visit)";
    }
    void oneVisitSingular()
    {
        QFETCH(int, idioma);
        QFETCH(QString, count);
        QFETCH(QString, item);
        HistoryBench b;
        QVERIFY(b.prepare());
        QVERIFY(b.visits());
        b.showUnit("B0801", "7", "5");
        HistoryWindow w(b.history, b.edit, &b.dialogs, b.messages);
        w.setLanguage(idioma);
        w.showWindowUnit();
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("Label_visitas"))->text(), count);
        const int listed = w.units()->findData(QStringList{"B08017", "5"});
        QVERIFY(listed >= 0);
        QVERIFY2(w.units()->itemText(listed).startsWith(item),
                 qPrintable(w.units()->itemText(listed)));
        const int other = w.units()->findData(QStringList{"A070512", "104233"});
        QVERIFY(w.units()->itemText(other).contains(idioma == 1 ? "3 visits" : "3 visitas"));
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
