#include "newunitrun.h"

#include "ctltexts.h"
#include "databases.h"
#include "editmessages.h"
#include "editset.h"
#include "newunit.h"
#include "qtrecordsdatabase.h"
#include "recordscommands.h"
#include "unitrecords.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

using namespace vx;

namespace {

void tell(const QString &text)
{
    std::fprintf(stderr, "vx308ctl: %s\n", text.toLocal8Bit().constData());
}

} // namespace

NewUnitRun::NewUnitRun(EditMessages &editMessages, NewUnit &newUnit, UnitRecords &unitRecords,
                       Databases &databases, QtRecordsDatabase &records)
    : m_editMessages(editMessages), m_databases(databases), m_records(records),
      m_unitRecords(unitRecords), m_newUnit(newUnit)
{
    QObject::connect(&m_newUnit, &NewUnit::unitLogged, &m_newUnit,
                     [this](const QString &nfab, qint64 nmec) {
                         m_logged = true;
                         m_nfab = nfab;
                         m_nmec = nmec;
                     });
    QObject::connect(&m_newUnit, &NewUnit::unitWaiting, &m_newUnit,
                     [this](const QString &nfab, qint64 nmec) {
                         m_waiting = true;
                         m_nfab = nfab;
                         m_nmec = nmec;
                     });
}

NewUnitRun::~NewUnitRun() = default;

bool NewUnitRun::ready(const RecordsLocation &location, int idioma)
{
    if (!RecordsCommands::usable(m_records, m_unitRecords, location, idioma, m_databases.folder()))
        return false;
    // The report layout is the window's; only the default values matter here.
    QString error;
    QString failed;
    if (m_databases.provision(nullptr, &error, &failed) || failed == m_databases.templateFile())
        return true;
    tell(QStringLiteral("%1 Nothing was written to the timer.").arg(error));
    return false;
}

bool NewUnitRun::accept()
{
    m_editMessages.setFilling(true);
    const bool prepared = m_newUnit.prepare();
    m_editMessages.setFilling(false);
    return prepared && m_newUnit.accept();
}

QStringList NewUnitRun::unwrittenFields() const
{
    return m_newUnit.unwrittenFields();
}

int NewUnitRun::conclude(int status, bool json)
{
    if (m_logged || m_waiting) {
        if (json)
            std::printf("%s", QJsonDocument(QJsonObject{{QStringLiteral("NFab"), m_nfab},
                                                        {QStringLiteral("NMec"), m_nmec},
                                                        {QStringLiteral("logged"), m_logged}})
                                  .toJson(QJsonDocument::Indented)
                                  .constData());
        else
            std::printf("NFab %s\nNMec %lld\n", qPrintable(m_nfab), static_cast<long long>(m_nmec));
        std::fflush(stdout);
        // NewUnit has said where the row waits.
        return m_logged ? status : std::max(status, int(RecordsCommands::kLoggedLater));
    }
    if (m_newUnit.unitPending()) {
        m_newUnit.abandon();
        tell(QStringLiteral("the unit was not logged: the timer did not accept every value (%1). "
                            "Its numbers stay taken; run new-unit again once the timer stores "
                            "them.")
                 .arg(m_newUnit.unwrittenFields().join(QStringLiteral(", "))));
        return std::max(status, 1);
    }
    // Neither the records nor this PC could keep the row after the timer
    // took the unit: NewUnit has said which unit it is.
    return RecordsCommands::kRecordsUnusable;
}

QString NewUnitRun::giveUp(int idioma)
{
    if (!m_newUnit.unitPending()) return {};
    const bool left = m_newUnit.abandon();
    const UnitNumbers &n = m_newUnit.lastNumbers();
    const QString written = m_newUnit.writtenFields().join(QStringLiteral(", "));
    const QString unwritten = m_newUnit.unwrittenFields().join(QStringLiteral(", "));
    const QString none = ctlText("none", idioma);
    const QString after = ctlText(left ? "numbersHeld" : "numbersGap", idioma);
    return ctlText("partlyWritten", idioma)
        .arg(n.row.NFab)
        .arg(n.row.NMec)
        .arg(written.isEmpty() ? none : written, unwritten.isEmpty() ? none : unwritten, after);
}
