#include "newunitrun.h"

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
#include <cstdio>

using namespace vx;

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "vx308ctl: %s\n", text.toLocal8Bit().constData());
}

} // namespace

NewUnitRun::NewUnitRun(EditSet &edit, EditMessages &editMessages, EngineControl &engine,
                       Databases &databases, QtRecordsDatabase &records, MessageSink &messages,
                       const Clock &clock)
    : m_edit(edit), m_editMessages(editMessages), m_databases(databases), m_records(records),
      m_unitRecords(std::make_unique<UnitRecords>(records)),
      m_newUnit(std::make_unique<NewUnit>(edit, engine, databases, *m_unitRecords, messages, clock))
{
    QObject::connect(m_newUnit.get(), &NewUnit::unitLogged, m_newUnit.get(),
                     [this] { onLogged(); });
}

NewUnitRun::~NewUnitRun() = default;

bool NewUnitRun::ready(const RecordsLocation &location, int idioma)
{
    if (!RecordsCommands::usable(m_records, *m_unitRecords, location, idioma)) return false;
    // The report layout is the window's; only the default values matter here.
    QString error;
    QString failed;
    if (m_databases.provision(nullptr, &error, &failed) || failed == m_databases.templateFile())
        return true;
    say(QStringLiteral("%1 Nothing was written to the timer.").arg(error));
    return false;
}

bool NewUnitRun::accept()
{
    m_editMessages.setFilling(true);
    const bool prepared = m_newUnit->prepare();
    m_editMessages.setFilling(false);
    return prepared && m_newUnit->accept();
}

QStringList NewUnitRun::unwrittenFields() const
{
    return m_newUnit->unwrittenFields();
}

void NewUnitRun::onLogged()
{
    m_logged = true;
    // The unit as the timer now holds it; its log row gives the log number.
    const QString code = m_edit.text(QStringLiteral("text_numfab_ano"));
    const QString number = m_edit.text(QStringLiteral("Text_numfab_num"));
    m_nfab = code + number;
    QList<LogRow> rows;
    QString error;
    if (!m_unitRecords->listUnits(&rows, &error)) return;
    for (auto r = rows.crbegin(); r != rows.crend(); ++r) {
        if (r->NFab == m_nfab || (r->NFab.startsWith(code) && r->NAct == number.toInt())) {
            m_nfab = r->NFab;
            m_nmec = r->NMec;
            return;
        }
    }
}

int NewUnitRun::conclude(int status, bool json)
{
    if (m_logged) {
        if (json)
            std::printf("%s", QJsonDocument(QJsonObject{{QStringLiteral("NFab"), m_nfab},
                                                        {QStringLiteral("NMec"), m_nmec}})
                                  .toJson(QJsonDocument::Indented)
                                  .constData());
        else
            std::printf("NFab %s\nNMec %d\n", qPrintable(m_nfab), m_nmec);
        std::fflush(stdout);
        return status;
    }
    if (m_newUnit->unitPending()) {
        say(QStringLiteral("the unit was not logged: the timer did not accept every value (%1). "
                           "Its numbers stay taken; run new-unit again once the timer stores "
                           "them.")
                .arg(m_newUnit->unwrittenFields().join(QStringLiteral(", "))));
        return std::max(status, 1);
    }
    // The log refused the row after the timer took the unit: NewUnit has
    // said which unit it is.
    return RecordsCommands::kRecordsUnusable;
}
