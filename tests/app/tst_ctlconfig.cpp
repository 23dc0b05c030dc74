// Guards carrying a unit's configuration in a file, end to end: the real
// vx308ctl against the real vx308-emulator over a pseudo-terminal. A restore
// followed by a read must give back exactly the file's values, "Power Down"
// included (the timer holds one more than it shows); a file that cannot be
// used must write nothing; a value the timer cannot store must be named and
// must not stop the others.
#include "configfile.h"
#include "ctlharness.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using vx::ConfigFile;

namespace {

// A value for every field of the file, each unlike what the emulated unit
// starts with, and each in the form a read shows it.
const QList<QPair<QString, QJsonValue>> kOtherUnit{{"Text_pwdtarifas", "0042"},
                                                   {"Text_pwdrelogio", "9876"},
                                                   {"Text_S00", "1,25"},
                                                   {"Text_S08", "1,75"},
                                                   {"Text_S12", "655,35"},
                                                   {"Text_S15", "0,05"},
                                                   {"Text_S20", "0,00"},
                                                   {"Text_F00", "5,10"},
                                                   {"Text_F08", "6,20"},
                                                   {"Text_F12", "7,30"},
                                                   {"Text_F15", "8,40"},
                                                   {"Text_F20", "9,50"},
                                                   {"Check_ibut", 0},
                                                   {"Check_contador", 0},
                                                   {"Text_fracao", "255"},
                                                   {"Text_acumulado", "100,01"},
                                                   {"Text_a_pagar", "12,34"},
                                                   {"Text_parcial", "56,78"},
                                                   {"Text_numfab_num", "07"},
                                                   {"text_numfab_ano", "B2612"},
                                                   {"Text_ibut", "0123456789AB"},
                                                   {"Text_contador", "65535"},
                                                   {"Text_total00", "167772,15"},
                                                   {"Text_total08", "0,01"},
                                                   {"Text_total12", "22,22"},
                                                   {"Text_total15", "33,33"},
                                                   {"Text_total20", "44,44"},
                                                   {"Text_power", "-1"},
                                                   {"Text_aberturas", "999"},
                                                   {"Text_prog", "255"},
                                                   {"Text_sn_apl", "16777215"}};

} // namespace

class TstCtlConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_emu;
    QString m_link;

    static QString bin(const char *rel) { return builtProgram(rel); }

    using Output = CtlOutput;
    Output ctl(QStringList args) { return runCtl(args << QStringLiteral("--device") << m_link); }
    // vx308ctl unable to write a file past `bytes`, as on a disk that is
    // full: its writes fail with EFBIG where they would with ENOSPC.
    Output ctlWithFileLimit(QStringList args, rlim_t bytes)
    {
        QProcess p;
        p.setChildProcessModifier([bytes] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        p.start(builtProgram("app/vx308ctl"), args << QStringLiteral("--device") << m_link);
        if (!p.waitForFinished(60000)) return {-1, {}, {}};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    void startEmulator()
    {
        m_link = m_dir.filePath(QStringLiteral("vx308"));
        // Answers at once rather than at the pace of the cable: the exchanges
        // are the same, the read takes milliseconds instead of seconds.
        QVERIFY(launchEmulator(m_emu, m_link, {"--no-pace"}));
    }
    void stopEmulator() { QVERIFY(endEmulator(m_emu)); }

    static QJsonObject jsonOf(const QString &file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    static void write(const QString &file, const QByteArray &text)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    // The unit as `read --json` shows it.
    QJsonObject readTimer()
    {
        const Output r = ctl({"read", "--json"});
        if (r.status != 0) qWarning("read: %s", r.err.constData());
        return QJsonDocument::fromJson(r.out).object();
    }
    // A copy of original.json with `changes`, in changed.json.
    void saveWithChanges(const QList<QPair<QString, QJsonValue>> &changes)
    {
        QJsonObject o = jsonOf(path("original.json"));
        for (const auto &[field, value] : changes)
            o.insert(field, value);
        write(path("changed.json"), QJsonDocument(o).toJson());
    }

private slots:
    // A case that failed halfway leaves no emulator for the next to trip on.
    void cleanup() { QVERIFY(endEmulator(m_emu)); }

    // Every emulated unit starts alike: one saved at the start stands for all.
    void initTestCase()
    {
        startEmulator();
        const Output saved = ctl({"save", path("original.json")});
        QVERIFY2(saved.status == 0, saved.err.constData());
        QCOMPARE(jsonOf(path("original.json")).value("format").toString(),
                 QStringLiteral("vx308-configuration"));
        stopEmulator();
    }

    // Restore, then read: every field of the scope holds the file's value,
    // every other field what the unit held; restoring the saved file puts
    // the unit back exactly as it was.
    void restoreThenReadGivesTheFileBack_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("settings") << false;
        QTest::newRow("all") << true;
    }
    void restoreThenReadGivesTheFileBack()
    {
        QFETCH(bool, all);
        startEmulator();
        saveWithChanges(kOtherUnit);
        const QJsonObject original = jsonOf(path("original.json"));
        const QStringList allOrNot = all ? QStringList{"--all"} : QStringList{};
        // The file is another unit's: --all takes its identity only when told.
        const QStringList identity = all ? QStringList{"--identity"} : QStringList{};
        const Output restored =
            ctl(QStringList{"restore"} + allOrNot + identity << path("changed.json"));
        QVERIFY2(restored.status == 0, restored.err.constData());

        const QStringList inScope =
            ConfigFile::fieldNames(all ? ConfigFile::Scope::All : ConfigFile::Scope::Settings);
        QJsonObject timer = readTimer();
        for (const auto &[field, value] : kOtherUnit)
            QVERIFY2(timer.value(field) ==
                         (inScope.contains(field) ? value : original.value(field)),
                     qPrintable(field + QLatin1String(": ") + timer.value(field).toString()));
        const Output diff = ctl(QStringList{"diff"} + allOrNot << path("changed.json"));
        QVERIFY2(diff.status == 0 && diff.out.isEmpty(), diff.out.constData());

        QCOMPARE(ctl({"restore", "--all", "--identity", path("original.json")}).status, 0);
        timer = readTimer();
        for (const QString &field : ConfigFile::fieldNames(ConfigFile::Scope::All))
            QVERIFY2(timer.value(field) == original.value(field), qPrintable(field));
        stopEmulator();
    }

    void diffSaysWhatRestoreWouldChange_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("inFile");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("same") << "Text_S00" << QJsonValue("2,0") << false << 0 << QByteArray();
        QTest::newRow("same, all") << "Text_power" << QJsonValue("5") << true << 0 << QByteArray();
        QTest::newRow("tariff") << "Text_S08" << QJsonValue("9,99") << false << 1
                                << QByteArray("Text_S08\tWeek 08-12h\t9,99\t2,50\n");
        QTest::newRow("tick box") << "Check_ibut" << QJsonValue(0) << false << 1
                                  << QByteArray("Check_ibut\tiButton\t0\t1\n");
        QTest::newRow("counter, settings")
            << "Text_contador" << QJsonValue("1") << false << 0 << QByteArray();
        QTest::newRow("counter, all")
            << "Text_contador" << QJsonValue("1") << true << 1
            << QByteArray("Text_contador\tElectromechanical counter\t1\t4821\n");
        QTest::newRow("unstorable") << "Text_S00" << QJsonValue("-") << false << 1 << QByteArray();
    }
    void diffSaysWhatRestoreWouldChange()
    {
        QFETCH(QString, field);
        QFETCH(QJsonValue, inFile);
        QFETCH(bool, all);
        QFETCH(int, status);
        QFETCH(QByteArray, line);
        startEmulator();
        saveWithChanges({{field, inFile}});
        const Output diff = ctl(QStringList{"diff"} + (all ? QStringList{"--all"} : QStringList{})
                                << path("changed.json"));
        QCOMPARE(diff.status, status);
        QCOMPARE(diff.out, line);
        if (status != 0 && line.isEmpty()) QVERIFY2(diff.err.contains(field.toUtf8()), diff.err);
        stopEmulator();
    }

    // The file is checked whole before the timer is reached: nothing of a
    // file that cannot be used is written.
    void unusableFileWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("spoil");
        QTest::addColumn<QString>("says");
        QTest::newRow("cut short") << QByteArray("cut") << "not valid JSON";
        QTest::newRow("newer version") << QByteArray("version") << "format version 2 is newer";
        QTest::newRow("field missing") << QByteArray("missing") << "\"Text_prog\" is missing";
        QTest::newRow("no such file") << QByteArray("absent") << "cannot read";
        QTest::newRow("FIFO") << QByteArray("fifo") << "is a FIFO, not a regular file";
        QTest::newRow("link to /dev/zero")
            << QByteArray("zero") << "is a device, not a regular file";
        QTest::newRow("too large") << QByteArray("large") << "is larger than 1024 kB";
        QTest::newRow("key twice") << QByteArray("twice") << "\"Text_S00\" is given twice";
    }
    void unusableFileWritesNothing()
    {
        QFETCH(QByteArray, spoil);
        QFETCH(QString, says);
        startEmulator();
        saveWithChanges(kOtherUnit);
        QJsonObject o = jsonOf(path("changed.json"));
        QByteArray text = QJsonDocument(o).toJson();
        if (spoil == "cut") text.chop(text.size() / 2);
        if (spoil == "version") o.insert("version", 2);
        if (spoil == "missing") o.remove("Text_prog");
        if (spoil != "cut") text = QJsonDocument(o).toJson();
        if (spoil == "large") text += QByteArray(1024 * 1024, ' ');
        if (spoil == "twice") text.replace("{\n", "{\n    \"Text_S00\": \"9,99\",\n");
        const QString file = path(spoil == "absent" ? "absent.json" : "spoilt-" + spoil + ".json");
        QFile::remove(file);
        if (spoil == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (spoil == "zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
        else if (spoil != "absent")
            write(file, text);

        const Output restored = ctl({"restore", "--all", file});
        QCOMPARE(restored.status, 65);
        QVERIFY2(restored.err.contains(file.toUtf8()) && restored.err.contains(says.toUtf8()),
                 restored.err.constData());
        const Output diff = ctl({"diff", "--all", path("original.json")});
        QVERIFY2(diff.status == 0, diff.out.constData());
        stopEmulator();
    }

    // A value the timer cannot store is named; the file's other values are
    // still written.
    void refusedValueIsNamed_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("inFile");
        QTest::addColumn<bool>("all");
        QTest::newRow("tariff") << "Text_S00" << QJsonValue("655,36") << false;
        QTest::newRow("tick box") << "Check_contador" << QJsonValue(2) << false;
        QTest::newRow("power downs") << "Text_power" << QJsonValue("65535") << true;
    }
    void refusedValueIsNamed()
    {
        QFETCH(QString, field);
        QFETCH(QJsonValue, inFile);
        QFETCH(bool, all);
        startEmulator();
        saveWithChanges({{field, inFile}, {"Text_F12", "7,77"}});
        const QJsonObject original = jsonOf(path("original.json"));
        const Output restored =
            ctl(QStringList{"restore"} + (all ? QStringList{"--all"} : QStringList{})
                << path("changed.json"));
        QCOMPARE(restored.status, 1);
        QVERIFY2(restored.err.contains(field.toUtf8()), restored.err.constData());
        const QJsonObject timer = readTimer();
        QCOMPARE(timer.value("Text_F12").toString(), QStringLiteral("7,77"));
        QCOMPARE(timer.value(field), original.value(field));
        stopEmulator();
    }

    // A save that fails says so (65) with the file's name and keeps what
    // was there: the older file whole, a FIFO or a folder what it was (never
    // a regular file renamed over it, as `save /dev/full` once did).
    void failedSaveKeepsWhatWasThere_data()
    {
        QTest::addColumn<QString>("target"); // empty: a file on a "full disk"
        QTest::addColumn<QString>("says");
        QTest::newRow("full disk") << QString() << "cannot write";
        // Made here: the old save renamed over whatever the name held, and a
        // device of the system would not survive a test of it.
        QTest::newRow("FIFO") << "fifo"
                              << "is a FIFO, not a regular file";
        QTest::newRow("folder") << "folder"
                                << "is a folder, not a regular file";
    }
    void failedSaveKeepsWhatWasThere()
    {
        QFETCH(QString, target);
        QFETCH(QString, says);
        startEmulator();
        const QByteArray older = "{\"kept\": true}\n";
        const QString file = m_dir.filePath(target.isEmpty() ? "keep.json" : target + ".json");
        if (target.isEmpty()) write(file, older);
        if (target == "folder") QVERIFY(QDir().mkpath(file));
        if (target == "fifo" && !QFileInfo::exists(file))
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        struct stat before
        {
        };
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &before), 0);

        const Output saved =
            target.isEmpty() ? ctlWithFileLimit({"save", file}, 512) : ctl({"save", file});
        QCOMPARE(saved.status, 65);
        QVERIFY2(saved.err.contains(file.toUtf8()) && saved.err.contains(says.toUtf8()),
                 saved.err.constData());
        struct stat after
        {
        };
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_rdev, before.st_rdev);
        if (target.isEmpty()) {
            QFile kept(file);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), older);
        }
        stopEmulator();
    }

    // restore --all of another unit's file would give this timer that
    // unit's manufacturing number and application serial: refused, naming
    // both, unless --identity says it is meant; the settings alone may go.
    void otherUnitsIdentityNeedsConsent_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("takesIdentity");
        QTest::newRow("settings") << QStringList{} << 0 << false;
        QTest::newRow("all") << QStringList{"--all"} << 65 << false;
        QTest::newRow("all, --identity") << QStringList{"--all", "--identity"} << 0 << true;
    }
    void otherUnitsIdentityNeedsConsent()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(bool, takesIdentity);
        startEmulator();
        saveWithChanges({{"Text_numfab_num", "09"}, {"Text_sn_apl", "777"}, {"Text_S00", "1,25"}});
        const Output restored = ctl(QStringList{"restore"} + options << path("changed.json"));
        QVERIFY2(restored.status == status, restored.err.constData());
        if (status != 0)
            QVERIFY2(restored.err.contains("A24159 (application serial 777)") &&
                         restored.err.contains("A24153 (application serial "),
                     restored.err.constData());
        const QJsonObject timer = readTimer();
        QCOMPARE(timer.value("Text_sn_apl").toString(),
                 takesIdentity ? QStringLiteral("777")
                               : jsonOf(path("original.json")).value("Text_sn_apl").toString());
        QCOMPARE(timer.value("Text_S00").toString(),
                 status == 0 ? QStringLiteral("1,25") : QStringLiteral("2,00"));
        stopEmulator();
    }

    // A timer never set up (every byte 0) or with an erased memory (0xFF):
    // `read --json` holds no control character, its code is the placeholder
    // with the bytes given as numbers, and `save` then `restore --all` of
    // it, after every value was changed, puts back every byte it held (but
    // the maintenance stamp each read writes).
    void blankTimerRoundTrip_data()
    {
        QTest::addColumn<int>("fill");
        QTest::newRow("zeros") << 0x00;
        QTest::newRow("erased") << 0xFF;
    }
    void blankTimerRoundTrip()
    {
        QFETCH(int, fill);
        QJsonArray memory;
        for (int i = 0; i < 256; ++i)
            memory.append(fill);
        write(path("blank-memory.json"), QJsonDocument(QJsonObject{{"memory", memory}}).toJson());
        m_link = m_dir.filePath(QStringLiteral("vx308"));
        const QString after = path("blank-after.json");
        QVERIFY(launchEmulator(
            m_emu, m_link, {"--no-pace", "--memory", path("blank-memory.json"), "--save", after}));

        const Output read = ctl({"read", "--json"});
        QCOMPARE(read.status, 0);
        for (const char c : read.out)
            QVERIFY2(uint8_t(c) >= 0x20 || c == '\n', read.out.constData());
        const QJsonObject timer = QJsonDocument::fromJson(read.out).object();
        QCOMPARE(timer.value("text_numfab_ano").toString(), QStringLiteral("-"));
        QCOMPARE(timer.value("bytes").toObject().value("text_numfab_ano").toArray(),
                 (QJsonArray{fill, fill, fill}));
        QCOMPARE(timer.value("Text_master_ibut").toString(), QStringLiteral("-"));

        QVERIFY(ctl({"save", path("blank.json")}).status == 0);
        saveWithChanges(kOtherUnit);
        QCOMPARE(ctl({"restore", "--all", "--identity", path("changed.json")}).status, 0);
        QVERIFY(!ctl({"diff", "--all", path("blank.json")}).out.isEmpty());
        const Output restored = ctl({"restore", "--all", "--identity", path("blank.json")});
        QVERIFY2(restored.status == 0, restored.err.constData());
        QVERIFY(endEmulator(m_emu));

        // The key reader's own byte (187: the kind of key it took) is no
        // value of the file, and a new key-reader setting clears it.
        const QJsonArray held = jsonOf(after).value("memory").toArray();
        QCOMPARE(held.size(), 256);
        for (int i = 0; i < 256; ++i)
            if ((i < 91 || i > 95) && i != 187)
                QVERIFY2(held.at(i).toInt() == fill,
                         qPrintable(
                             QStringLiteral("address %1 holds %2").arg(i).arg(held.at(i).toInt())));
    }

    // A crafted value reaches the terminal escaped, never as the control
    // sequence it holds.
    void controlCharactersAreShownEscaped()
    {
        startEmulator();
        saveWithChanges({{"Text_S00", "\x1b[2J\x1b]0;owned\x07"}});
        const Output restored = ctl({"restore", path("changed.json")});
        QCOMPARE(restored.status, 1);
        QVERIFY2(restored.err.contains("\\x1b[2J\\x1b]0;owned\\x07"), restored.err.constData());
        QVERIFY2(!restored.err.contains('\x1b') && !restored.err.contains('\x07'),
                 restored.err.constData());
        stopEmulator();
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("save without file") << QStringList{"save"};
        QTest::newRow("two files") << QStringList{"restore", "a.json", "b.json"};
        QTest::newRow("save --all") << QStringList{"save", "--all", "a.json"};
        QTest::newRow("read --all") << QStringList{"read", "--all"};
        QTest::newRow("--identity without --all") << QStringList{"restore", "--identity", "a.json"};
        QTest::newRow("save --identity") << QStringList{"save", "--identity", "a.json"};
    }
    void arguments()
    {
        QFETCH(QStringList, args);
        m_link = QStringLiteral("/dev/null");
        const Output r = ctl(args);
        QCOMPARE(r.status, 64);
        QVERIFY2(r.err.contains("usage:"), r.err.constData());
    }
};

VX_TEST_CLASS(TstCtlConfig, Core)
#include "tst_ctlconfig.moc"
