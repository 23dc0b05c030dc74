// Guards "Exportar PDF..." against a file that cannot be written whole: the
// failure is said, naming the file, and an older PDF of that name stays as it
// was (QPrinter itself writes into the target and reports no full disk); a
// FIFO or a folder given as the file is never replaced.
#include "qtreportprinter.h"
#include "testsuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

class TstPdfExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Exports with this process unable to write past `bytes` (0: no limit),
    // as on a full disk: writes fail with EFBIG where they would with ENOSPC.
    static bool exportLimited(const QString &target, rlim_t bytes, QString *error)
    {
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = bytes;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        if (bytes > 0) ::setrlimit(RLIMIT_FSIZE, &small);
        const bool exported = vx::QtReportPrinter().exportPdf(
            QStringLiteral("<h1>Manutenção VX308</h1><p>%1</p>").arg(QString(4000, 'x')), target,
            error);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        return exported;
    }

private slots:
    void failedExportKeepsWhatWasThere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("full disk") << "file";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
    }
    void failedExportKeepsWhatWasThere()
    {
        QFETCH(QString, kind);
        const QString target = m_dir.filePath(kind + QStringLiteral(".pdf"));
        const QByteArray older = "%PDF-1.4 an older report\n";
        if (kind == "file") {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(older) == older.size());
        }
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        if (kind == "folder") QVERIFY(QDir().mkpath(target));

        QString error;
        QVERIFY(!exportLimited(target, kind == "file" ? 1024 : 0, &error));
        QVERIFY2(error.contains(target), qPrintable(error));
        if (kind == "file") {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), older);
        } else {
            QVERIFY(!QFileInfo(target).isFile());
            return;
        }
        // With room, the same export is made whole.
        const QString room = m_dir.filePath(QStringLiteral("room.pdf"));
        QVERIFY2(exportLimited(room, 0, &error), qPrintable(error));
        QFile made(room);
        QVERIFY(made.open(QIODevice::ReadOnly));
        const QByteArray pdf = made.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
    }
};

VX_TEST_CLASS(TstPdfExport, Widgets)
#include "tst_pdfexport.moc"
