// Guards "Imprimir" on a real print queue: the report must reach the printer
// as a job holding every value of the window, not vanish into an empty file
// while the tool says nothing. Uses the CUPS scheduler and a cups-pdf queue as
// a technician's PC would have them; skipped with the reason where CUPS
// cannot be started (not root, not installed).
#include "bases.h"
#include "clock.h"
#include "editset.h"
#include "messages.h"
#include "qtreportprinter.h"
#include "relatorio.h"
#include "sqliterecordstore.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace vx;

namespace {

const QString kSpool = QStringLiteral("/var/spool/cups");

int correr(const QString &prog, const QStringList &args, QByteArray *saida = nullptr)
{
    QProcess p;
    p.start(prog, args);
    if (!p.waitForFinished(30000))
        return -1;
    if (saida)
        *saida = p.readAllStandardOutput();
    return p.exitCode();
}

bool agendadorActivo()
{
    QByteArray out;
    return correr(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) == 0 &&
           out.contains("is running");
}

bool esperarAgendador()
{
    for (int i = 0; i < 100 && !agendadorActivo(); ++i)
        QTest::qWait(100);
    return agendadorActivo();
}

QStringList ficheirosDeTrabalho()
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
        if (geteuid() != 0)
            QSKIP("CUPS test needs root to start cupsd and add a printer");
        for (const char *p : {"cupsd", "lpadmin", "cupsctl", "lpstat", "pdftotext"})
            if (QStandardPaths::findExecutable(QLatin1String(p), {"/usr/sbin", "/usr/bin"}).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps)").arg(p)));
        if (!QFile::exists("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"))
            QSKIP("printer-driver-cups-pdf is not installed");
        if (!agendadorActivo() && correr("/usr/sbin/cupsd", {}) != 0)
            QSKIP("cupsd could not be started");
        if (!esperarAgendador())
            QSKIP("cupsd did not come up");
        // Keep the spooled data, which holds the PDF as the tool sent it.
        correr("cupsctl", {"PreserveJobFiles=yes"});
        if (!esperarAgendador())
            QSKIP("cupsd did not come back after cupsctl");
        QCOMPARE(correr("lpadmin", {"-p", "PDF", "-v", "cups-pdf:/", "-E", "-m",
                                    "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}),
                 0);
        QCOMPARE(correr("lpadmin", {"-d", "PDF"}), 0);
    }

    void imprimir_chega_a_fila()
    {
        QTemporaryDir dir;
        SqliteRecordStore store;
        Bases bases(store, dir.path());
        QStringList criados;
        QString erro;
        QVERIFY2(bases.provisionar(&criados, &erro), qPrintable(erro));

        RecordingMessages mensagens;
        FixedClock relogio;
        EditSet edit(mensagens);
        QStringList valores;
        int n = 0;
        for (const Campo &c : kCampos) {
            const QString nome = QString::fromLatin1(c.nome.data(), int(c.nome.size()));
            if (c.forma == Forma::Flag)
                continue;
            const QString v = QStringLiteral("%1,%2").arg(700 + n).arg(n + 10);
            ++n;
            edit.setText(nome, v);
            valores << v;
        }
        const QStringList antes = ficheirosDeTrabalho();
        QtReportPrinter impressora;
        Relatorio relatorio(edit, bases, impressora, mensagens, relogio);
        QVERIFY2(relatorio.imprimir(), qPrintable(relatorio.ultimoErro()));
        QVERIFY(mensagens.messages.empty());

        QString novo;
        for (int i = 0; i < 100 && novo.isEmpty(); ++i) {
            for (const QString &f : ficheirosDeTrabalho())
                if (!antes.contains(f))
                    novo = f;
            if (novo.isEmpty())
                QTest::qWait(100);
        }
        QVERIFY2(!novo.isEmpty(), "no job reached the CUPS spool");
        const QString caminho = kSpool + QLatin1Char('/') + novo;
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(4) == "%PDF");
        QByteArray texto;
        QCOMPARE(correr("pdftotext", {caminho, "-"}, &texto), 0);
        // Every value of the stored report row is in the job.
        QVariantMap linha;
        QVERIFY(bases.lerRelatorio(&linha, &erro));
        QCOMPARE(linha.size(), 32);
        int vistos = 0;
        for (auto it = linha.cbegin(); it != linha.cend(); ++it) {
            const QString v = it.value().toString().toHtmlEscaped();
            QVERIFY2(texto.contains(it.value().toString().toUtf8()), qPrintable(it.key() + "=" + v));
            vistos += valores.contains(it.value().toString()) ? 1 : 0;
        }
        QVERIFY(vistos >= 20);
    }
};

QTEST_MAIN(TstCups)
#include "tst_cups.moc"
