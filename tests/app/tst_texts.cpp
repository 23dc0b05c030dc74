// Guards every text the user can see: each row of each table of texts holds
// both languages, under a key of its own, with the same placeholders in
// both. A row with one language left empty (shown as nothing), a key given
// twice (the second row never found) or a "%2" lost in a translation (a
// value the technician then never sees) is the fault.

#include "captions.h"
#include "ctltexts.h"
#include "linktexts.h"
#include "messagetexts.h"
#include "platformtexts.h"
#include "recordstexts.h"
#include "sessiontexts.h"
#include "testsuite.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace vx;

namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QStringList placeholdersOf(std::string_view s)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    QStringList found;
    for (const QRegularExpressionMatch &m : placeholder.globalMatch(fromView(s)))
        found << m.captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

// What is wrong with one table, a line for each fault.
QStringList faultsOf(const TextTable &table)
{
    QStringList faults;
    QSet<QString> keys;
    for (const Text &t : table.texts) {
        const QString where = fromView(table.name) + QLatin1Char(' ') + fromView(t.key);
        if (t.key.empty()) faults << where + QStringLiteral(": no key");
        if (keys.contains(fromView(t.key))) faults << where + QStringLiteral(": key twice");
        keys.insert(fromView(t.key));
        if (t.pt.empty()) faults << where + QStringLiteral(": no Portuguese");
        if (t.en.empty()) faults << where + QStringLiteral(": no English");
        if (placeholdersOf(t.pt) != placeholdersOf(t.en))
            faults << where + QStringLiteral(": placeholders differ");
    }
    return faults;
}

} // namespace

class TstTexts : public QObject
{
    Q_OBJECT

private slots:
    void everyTextInBothLanguages()
    {
        QStringList faults;
        for (const std::span<const TextTable> subsystem :
             {std::span<const TextTable>(kPlatformTextTables),
              std::span<const TextTable>(kLinkTextTables),
              std::span<const TextTable>(kEditingTextTables),
              std::span<const TextTable>(kRecordsTextTables),
              std::span<const TextTable>(kSessionTextTables),
              std::span<const TextTable>(kShellTextTables),
              std::span<const TextTable>(kCtlTextTables)})
            for (const TextTable &table : subsystem)
                faults << faultsOf(table);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The check itself: each kind of fault is found.
    void faultsAreFound_data()
    {
        QTest::addColumn<QString>("pt");
        QTest::addColumn<QString>("en");
        QTest::addColumn<QString>("fault");
        QTest::newRow("sem inglês") << "Porta"
                                    << ""
                                    << "no English";
        QTest::newRow("sem português") << ""
                                       << "Port"
                                       << "no Portuguese";
        QTest::newRow("marcador perdido") << "A %1 de %2"
                                          << "%1 of"
                                          << "placeholders differ";
    }
    void faultsAreFound()
    {
        QFETCH(QString, pt);
        QFETCH(QString, en);
        QFETCH(QString, fault);
        const QByteArray p = pt.toUtf8();
        const QByteArray e = en.toUtf8();
        const Text rows[] = {{"one", std::string_view(p.constData(), size_t(p.size())),
                              std::string_view(e.constData(), size_t(e.size()))},
                             {"one", "Sim", "Yes"}};
        const QStringList faults = faultsOf({"test", rows});
        QVERIFY2(faults.size() == 2 && faults.at(0).endsWith(fault), qPrintable(faults.join('\n')));
        QVERIFY(faults.at(1).endsWith(QLatin1String("key twice")));
    }

    // The one choice of language: English for 1, Portuguese for anything
    // else, and an empty text for a key the table lacks.
    void languageChoice_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("expected");
        QTest::newRow("português") << 0 << "Manutenção VX308 v3.5";
        QTest::newRow("english") << 1 << "VX308 Maintnance v3.5";
        QTest::newRow("desconhecido") << 7 << "Manutenção VX308 v3.5";
    }
    void languageChoice()
    {
        QFETCH(int, idioma);
        QFETCH(QString, expected);
        QCOMPARE(textOf(kTitleTexts, "titulo_base", idioma), expected);
        QVERIFY(textOf(kTitleTexts, "no such key", idioma).isEmpty());
    }
};

VX_TEST_CLASS(TstTexts, Core)
#include "tst_texts.moc"
