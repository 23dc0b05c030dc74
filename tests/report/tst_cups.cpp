// Guards "Imprimir" on a real print queue: the report must reach the printer
// as a job holding every value of the window, not vanish into an empty file
// while the tool says nothing. Uses the CUPS scheduler and a cups-pdf queue as
// a technician's PC would have them; skipped with the reason where CUPS
// cannot be started (not root, not installed).
#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "fixedclock.h"
#include "messages.h"
#include "qtreportprinter.h"
#include "recordingmessages.h"
#include "report.h"
#include "testsuite.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace vx;

namespace {

const QString kSpool = QStringLiteral("/var/spool/cups");

int run(const QString &prog, const QStringList &args, QByteArray *output = nullptr)
{
    QProcess p;
    p.start(prog, args);
    if (!p.waitForFinished(30000)) return -1;
    if (output) *output = p.readAllStandardOutput();
    return p.exitCode();
}

bool schedulerRunning()
{
    QByteArray out;
    return run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) == 0 &&
           out.contains("is running");
}

bool waitForScheduler()
{
    for (int i = 0; i < 100 && !schedulerRunning(); ++i)
        QTest::qWait(100);
    return schedulerRunning();
}

QStringList jobFiles()
{
    return QDir(kSpool).entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name);
}

} // namespace

class TstCups : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (geteuid() != 0) QSKIP("CUPS test needs root to start cupsd and add a printer");
        for (const char *p : {"cupsd", "lpadmin", "cupsctl", "lpstat", "pdftotext"})
            if (QStandardPaths::findExecutable(QLatin1String(p), {"/usr/sbin", "/usr/bin"})
                    .isEmpty())
                QSKIP(qPrintable(
                    QStringLiteral("%1 is not installed (scripts/install-deps)").arg(p)));
        if (!QFile::exists("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"))
            QSKIP("printer-driver-cups-pdf is not installed");
        if (!schedulerRunning() && run("/usr/sbin/cupsd", {}) != 0)
            QSKIP("cupsd could not be started");
        if (!waitForScheduler()) QSKIP("cupsd did not come up");
        // Keep the spooled data, which holds the PDF as the tool sent it.
        run("cupsctl", {"PreserveJobFiles=yes"});
        if (!waitForScheduler()) QSKIP("cupsd did not come back after cupsctl");
        QCOMPARE(run("lpadmin", {"-p", "PDF", "-v", "cups-pdf:/", "-E", "-m",
                                 "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}),
                 0);
        QCOMPARE(run("lpadmin", {"-d", "PDF"}), 0);
    }

    void printReachesQueue()
    {
        QTemporaryDir dir;
        Databases databases(dir.path());
        QStringList created;
        QString error;
        QVERIFY2(databases.provision(&created, &error), qPrintable(error));

        RecordingMessages messages;
        FixedClock clock;
        EditSet edit(messages);
        QStringList values;
        int n = 0;
        for (const Field &c : kFields) {
            const QString name = QString::fromLatin1(c.name.data(), int(c.name.size()));
            if (c.form == TextForm::Flag) continue;
            const QString v = QStringLiteral("%1,%2").arg(700 + n).arg(n + 10);
            ++n;
            edit.setText(name, v);
            values << v;
        }
        const QStringList before = jobFiles();
        QtReportPrinter printer;
        Report report(edit, databases, printer, messages, clock);
        QVERIFY2(report.print(), qPrintable(report.lastError()));
        QVERIFY(messages.messages.empty());

        QString newButton;
        for (int i = 0; i < 100 && newButton.isEmpty(); ++i) {
            for (const QString &f : jobFiles())
                if (!before.contains(f)) newButton = f;
            if (newButton.isEmpty()) QTest::qWait(100);
        }
        QVERIFY2(!newButton.isEmpty(), "no job reached the CUPS spool");
        const QString path = kSpool + QLatin1Char('/') + newButton;
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(4) == "%PDF");
        QByteArray text;
        QCOMPARE(run("pdftotext", {path, "-"}, &text), 0);
        // Every value of the stored report row is in the job.
        QVariantMap row;
        QVERIFY(databases.readReport(&row, &error));
        QCOMPARE(row.size(), 32);
        int seen = 0;
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            const QString v = it.value().toString().toHtmlEscaped();
            QVERIFY2(text.contains(it.value().toString().toUtf8()), qPrintable(it.key() + "=" + v));
            seen += values.contains(it.value().toString()) ? 1 : 0;
        }
        QVERIFY(seen >= 20);
    }
};

VX_TEST_CLASS(TstCups, Widgets)
#include "tst_cups.moc"
