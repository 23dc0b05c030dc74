// Guards the traffic log window: the filter must keep exactly the lines that
// contain its text, "Guardar…" must write what is shown and say so when it
// cannot, the view must not jump away from a line being read, memory must
// stay bounded on a long session, and the menu item must show the live log
// of a read with its fields named.
#include "appbench.h"
#include "filedialogs.h"
#include "fixedfiledialogs.h"
#include "messages.h"
#include "recordingmessages.h"
#include "testsuite.h"
#include "trafficlogwindow.h"
#include "traffictrace.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <sys/stat.h>

using namespace vx;

namespace {

const QStringList kLines{
    "14:05:30.000 sent     #AF0000010402000000000000002%  ReadMemory address 4 (Text_S00), 2 bytes",
    "14:05:30.031 rejected !AF00000104028C00000000000A4%  bad checksum: the frame says 74, its "
    "digits sum to 73",
    "14:05:31.031 sent     #AF0000010402000000000000002%  ReadMemory address 4 (Text_S00), 2 bytes",
    "14:05:31.062 received !AF00000104028C00000000000A3%  ReadMemory address 4 (Text_S00), 2 "
    "bytes: Text_S00 = 2,00",
    "14:05:31.400 time-out no reply within 300 ms to ReadClock",
};

void fill(TrafficLogWindow &w, const QStringList &lines)
{
    for (const QString &l : lines)
        w.appendLine(l);
}

QLineEdit *filterBox(TrafficLogWindow &w)
{
    return w.findChild<QLineEdit *>(QStringLiteral("Text_filtro"));
}

} // namespace

class TstTrafficLog : public QObject
{
    Q_OBJECT
private slots:
    void filter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("vazio") << "" << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("campo") << "Text_S00 =" << QList<int>{3};
        QTest::newRow("maiusculas") << "READCLOCK" << QList<int>{4};
        QTest::newRow("rejeitadas") << "rejected" << QList<int>{1};
        QTest::newRow("moldura") << "#AF0000010402" << QList<int>{0, 2};
        QTest::newRow("nada") << "Text_S08" << QList<int>{};
    }
    void filter()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, shown);
        RecordingMessages messages;
        TrafficLogWindow w(nullptr, messages);
        fill(w, kLines);
        filterBox(w)->setText(text);
        QStringList expected;
        for (int i : shown)
            expected << kLines.at(i);
        QCOMPARE(w.shownLines(), expected);
        // New lines go through the same filter.
        w.appendLine(kLines.at(3));
        QCOMPARE(w.shownLines().size(),
                 expected.size() + (kLines.at(3).contains(text, Qt::CaseInsensitive) ? 1 : 0));
        QCOMPARE(w.lineCount(), kLines.size() + 1);
    }

    // "Guardar…" writes the shown lines where the user said; a cancelled
    // dialog writes nothing, a failed write is reported and leaves an older
    // file of that name alone.
    void save_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("messages");
        QTest::newRow("guardado") << "log.txt" << true << 0;
        QTest::newRow("cancelado") << "" << false << 0;
        QTest::newRow("pasta inexistente") << "missing/log.txt" << false << 1;
        // Never replaced by a regular file, and never written into.
        QTest::newRow("fifo") << "fifo" << false << 1;
    }
    void save()
    {
        QFETCH(QString, answer);
        QFETCH(bool, written);
        QFETCH(int, messages);
        QTemporaryDir dir;
        FixedFileDialogs dialogs(answer.isEmpty() ? QString() : dir.filePath(answer));
        RecordingMessages sink;
        if (answer == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(dialogs.answer).constData(), 0600), 0);
        TrafficLogWindow w(&dialogs, sink);
        fill(w, kLines);
        filterBox(w)->setText(QStringLiteral("Text_S00"));
        QCOMPARE(w.save(), written);
        if (answer == "fifo") QVERIFY(!QFileInfo(dialogs.answer).isFile());
        QCOMPARE(int(sink.messages.size()), messages);
        if (messages)
            QVERIFY2(sink.texts().first().contains(dialogs.answer),
                     qPrintable(sink.texts().first()));
        QCOMPARE(dialogs.lastCaption, QStringLiteral("Guardar…"));
        if (!written) return;
        QFile f(dialogs.answer);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        // The log's header line first, whatever the filter: it says the
        // passwords are masked.
        QCOMPARE(QString::fromUtf8(f.readAll()), TrafficTrace::headerLine() + '\n' + kLines.at(0) +
                                                     '\n' + kLines.at(2) + '\n' + kLines.at(3) +
                                                     '\n');
    }

    // A whole day's session must not grow without bound: the oldest lines go.
    void keepsNewestLines()
    {
        RecordingMessages messages;
        TrafficLogWindow w(nullptr, messages);
        const int total = TrafficLogWindow::kMaxLines + 7;
        int most = 0;
        for (int i = 0; i < total; ++i) {
            w.appendLine(QString::number(i));
            most = std::max(most, w.lineCount());
        }
        QCOMPARE(most, TrafficLogWindow::kMaxLines - 1);
        const int kept = w.lineCount();
        QVERIFY(kept >= TrafficLogWindow::kMaxLines - TrafficLogWindow::kTrimLines);
        QCOMPARE(w.shownLines().first(), QString::number(total - kept));
        QCOMPARE(w.shownLines().last(), QString::number(total - 1));
    }

    // New lines pull the view down while it is at the bottom; once the user
    // has scrolled up to read, it stays where it is.
    void followsUnlessScrolledUp()
    {
        RecordingMessages messages;
        TrafficLogWindow w(nullptr, messages);
        w.resize(600, 200);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int i = 0; i < 200; ++i)
            w.appendLine(QStringLiteral("line %1").arg(i));
        QScrollBar *bar =
            w.findChild<QListView *>(QStringLiteral("List_registo"))->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());
        bar->setValue(10);
        for (int i = 0; i < 20; ++i)
            w.appendLine(QStringLiteral("more %1").arg(i));
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), 10);
        const int before = bar->maximum();
        bar->setValue(bar->maximum());
        w.appendLine(QStringLiteral("last"));
        QTRY_VERIFY(bar->maximum() > before);
        QTRY_COMPARE(bar->value(), bar->maximum());
    }

    // The menu item opens the log in the window's language, and a read then
    // shows in it, fields named.
    void menuShowsLiveRead()
    {
        PersistentData data;
        AppBench o(data);
        QVERIFY(o.startUp());
        o.window().mnu_EN_Click();
        QAction *item = o.window().action(QStringLiteral("mnu_registo"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Traffic log"));
        item->trigger();
        TrafficLogWindow &log = o.app->trafficLog();
        QVERIFY(log.isVisible());
        QCOMPARE(log.windowTitle(), QStringLiteral("Traffic log"));
        QVERIFY(o.read());
        const QStringList lines = log.shownLines();
        QVERIFY(
            !lines.filter(QStringLiteral("ReadMemory address 4 (Text_S00), 2 bytes: Text_S00 = "))
                 .isEmpty());
        QCOMPARE(lines.filter(QStringLiteral(" sent ")).size(),
                 lines.filter(QStringLiteral(" received ")).size());
        // Above the lines, the header that says the passwords are masked;
        // and they are, values and characters.
        QCOMPARE(log.findChild<QLabel *>(QStringLiteral("Label_cabecalho"))->text(),
                 TrafficTrace::headerLine());
        QVERIFY(!lines.filter(QStringLiteral("Text_pwdrelogio = masked")).isEmpty());
        for (const char *value : {"= 1234", "= 4321", "2D40", "1E01"})
            QVERIFY2(lines.filter(QLatin1String(value)).isEmpty(), value);
    }
};

VX_TEST_CLASS(TstTrafficLog, Widgets)
#include "tst_trafficlog.moc"
