// vx308-test-allocator: one bench accepting new units, for the tests that run
// several at once against one records database.
//
//   vx308-test-allocator LOCATION COUNT HOST
//
// LOCATION is a SQLite file or a postgresql:// URI. The program prepares the
// records, prints "ready" and waits for a line on its input, so that the test
// can let every bench go at the same moment; then it allocates and logs COUNT
// units, each with the number a window would propose (one past the last
// logged), and prints "NMec NFab moved" for each. Exit status 0, or 1 with
// the message on standard error.

#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "unitrecords.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

// What the new-unit window proposes from: the week's last running number.
int basis(vx::UnitRecords &records, int week, QString *error)
{
    vx::LastLogRow last;
    if (!records.readLastLogRow(&last, error)) return -1;
    return last.exists && last.SAct == week ? last.NAct : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: vx308-test-allocator LOCATION COUNT HOST"));
    vx::RecordsLocation location = vx::RecordsLocation::sqliteFile(args.at(1));
    QString error;
    if (args.at(1).contains(QLatin1String("://")) &&
        !vx::RecordsLocation::parse(args.at(1), &location, &error))
        return fail(error);
    vx::QtRecordsDatabase db(location, vx::QtRecordsDatabase::Mode::CreateIfMissing);
    vx::UnitRecords records(db);
    if (!records.prepare(&error)) return fail(error);
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);

    constexpr int kWeek = 50;
    const int count = args.at(2).toInt();
    for (int i = 0; i < count; ++i) {
        vx::UnitRequest request;
        request.basis = basis(records, kWeek, &error);
        if (request.basis < 0) return fail(error);
        request.code = QStringLiteral("A2650");
        request.number = request.proposed = request.basis + 1;
        request.week = kWeek;
        const QDateTime now = QDateTime::currentDateTime();
        request.date = now.date();
        request.time = now.time();
        request.host = args.at(3);
        vx::UnitNumbers numbers;
        if (!records.allocate(request, &numbers, &error) || !records.log(numbers, &error))
            return fail(error);
        std::printf("%lld %s %d\n", static_cast<long long>(numbers.row.NMec),
                    qPrintable(numbers.row.NFab), numbers.moved);
    }
    std::fflush(stdout);
    return 0;
}
