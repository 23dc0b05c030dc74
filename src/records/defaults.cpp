#include "defaults.h"

#include "databases.h"
#include "editset.h"
#include "fileerror.h"
#include "tables.h"

namespace vx {

Defaults::Defaults(EditSet &edit, Databases &databases, MessageSink &messages)
    : m_edit(edit), m_databases(databases), m_messages(messages)
{
}

TableRows::Values Defaults::values(const EditSet &edit)
{
    TableRows::Values v;
    for (const auto &c : kDefaults)
        v << qMakePair(toQString(c.field), QVariant(edit.text(toQString(c.window))));
    return v;
}

bool Defaults::accept()
{
    QString error;
    if (m_databases.writeSettings(values(m_edit), &error)) return true;
    showFileError(m_messages, m_databases.settingsFile(), error, languageOf(m_edit));
    return false;
}

} // namespace vx
