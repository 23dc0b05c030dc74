// Where the programs read the files they ship with. Guards against: a layout
// taken from a later folder while an earlier one holds it (an installed
// program reading a stale build or source copy), a folder of that name taken
// for the file, a failure that does not say
// where it looked, and a build folder whose programs find the layout only
// through the source tree (then an installed program could not find it).

#include "sharedfiles.h"
#include "tables.h"
#include "testsuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;

namespace {

const QString kLayout = QStringLiteral("manutencao.html");

QByteArray fileText(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What one folder holds under the layout's name.
enum class Entry
{
    Nothing,
    File,
    Folder
};

void make(const QString &folder, Entry entry)
{
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(kLayout);
    if (entry == Entry::Folder) QVERIFY(QDir().mkpath(path));
    if (entry != Entry::File) return;
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(folder.toUtf8());
}

} // namespace

class TstSharedFiles : public QObject
{
    Q_OBJECT

private slots:
    void firstFolderHoldingTheFileWins_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("found"); // 0, 1, or -1 for none
        QTest::newRow("both") << int(Entry::File) << int(Entry::File) << 0;
        QTest::newRow("second only") << int(Entry::Nothing) << int(Entry::File) << 1;
        QTest::newRow("folder of that name") << int(Entry::Folder) << int(Entry::File) << 1;
        QTest::newRow("none") << int(Entry::Nothing) << int(Entry::Folder) << -1;
    }
    void firstFolderHoldingTheFileWins()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, found);
        QTemporaryDir dir;
        const QStringList folders{dir.filePath(QStringLiteral("installed/share/vx308")),
                                  dir.filePath(QStringLiteral("source/share"))};
        make(folders.at(0), Entry(first));
        make(folders.at(1), Entry(second));
        QString error;
        const QString path = SharedFiles::find(kLayout, folders, &error);
        if (found < 0) {
            QVERIFY(path.isEmpty());
            return;
        }
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QCOMPARE(path, QDir(folders.at(found)).absoluteFilePath(kLayout));
        QCOMPARE(fileText(path), folders.at(found).toUtf8());
    }

    void missingFileNamesEveryFolder()
    {
        QTemporaryDir dir;
        const QStringList folders{dir.filePath(QStringLiteral("usr/share/vx308")),
                                  dir.filePath(QStringLiteral("src/share"))};
        QString error;
        QVERIFY(SharedFiles::find(kLayout, folders, &error).isEmpty());
        QVERIFY2(error.contains(kLayout), qPrintable(error));
        for (const QString &folder : folders)
            QVERIFY2(error.contains(QDir::toNativeSeparators(folder)), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("Reinstale o pacote vx308")), qPrintable(error));
    }

    // The test program lives in the build folder as the programs do: the
    // layout must be found in the build's share/vx308, first of all.
    void buildFolderKeepsTheInstalledLayout()
    {
        const QStringList folders = SharedFiles::folders();
        QVERIFY(!folders.isEmpty());
        QCOMPARE(folders.first(), QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/../share/vx308")));
        QString error;
        const QString found = SharedFiles::find(toQString(kTemplateFile), &error);
        QVERIFY2(!found.isEmpty(), qPrintable(error));
        QCOMPARE(found, QDir(QStringLiteral(VX_BINARY_DIR "/share/vx308"))
                            .absoluteFilePath(toQString(kTemplateFile)));
        QCOMPARE(fileText(found), fileText(QStringLiteral(VX_SOURCE_DIR "/share/manutencao.html")));
    }
};

VX_TEST_CLASS(TstSharedFiles, Core)
#include "tst_sharedfiles.moc"
