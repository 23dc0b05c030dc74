// Guards the one file of what is kept per user: the port chosen last and the
// records chosen share it, and keeping one never loses the other.

#include "portmemory.h"
#include "recordschoice.h"
#include "recordslocation.h"
#include "testsuite.h"
#include "usersettings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vx;

class TstUserSettings : public QObject
{
    Q_OBJECT
private slots:
    void portAndRecordsKeepEachOther_data()
    {
        QTest::addColumn<bool>("portFirst");
        QTest::addColumn<bool>("byDevice");
        QTest::newRow("port, then records; by device") << true << true;
        QTest::newRow("port, then records; Com N") << true << false;
        QTest::newRow("records, then port; by device") << false << true;
        QTest::newRow("records, then port; Com N") << false << false;
    }
    void portAndRecordsKeepEachOther()
    {
        QFETCH(bool, portFirst);
        QFETCH(bool, byDevice);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("vx308/vx308-maint.ini"));
        const QString url = QStringLiteral("postgresql://vx@servidor:5432/vx308");
        PortMemory port(file);
        const RecordsChoice records(file);
        const auto keepPort = [&] {
            QVERIFY(byDevice ? port.rememberDevice(QStringLiteral("/dev/ttyUSB1"))
                             : port.rememberComm(3));
        };
        const auto keepRecords = [&] {
            RecordsLocation chosen;
            QString error;
            QVERIFY2(records.choose(url, {}, true, &chosen, &error), qPrintable(error));
        };
        if (portFirst) {
            keepPort();
            keepRecords();
        } else {
            keepRecords();
            keepPort();
        }
        QCOMPARE(records.rememberedUrl(), url);
        QCOMPARE(port.devicePath(), byDevice ? QStringLiteral("/dev/ttyUSB1") : QString());
        QCOMPARE(UserSettings(file).value(QStringLiteral("port/comm")),
                 byDevice ? QString() : QStringLiteral("3"));
    }

    void unwritableFileIsSaid()
    {
        QTemporaryDir dir;
        // A plain file where the folder should be.
        QFile blocker(dir.filePath(QStringLiteral("vx308")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const UserSettings settings(blocker.fileName() + QStringLiteral("/vx308-maint.ini"));
        QVERIFY(!settings.store({{QStringLiteral("records/url"), QStringLiteral("x")}}));
        QVERIFY(settings.value(QStringLiteral("records/url")).isEmpty());
    }
};

VX_TEST_CLASS(TstUserSettings, Core)
#include "tst_usersettings.moc"
