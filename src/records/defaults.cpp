#include "defaults.h"

#include "databases.h"
#include "editset.h"
#include "fileerror.h"
#include "tables.h"

namespace vx {

namespace {

int scale(int v, int screenSize, int design)
{
    return qRound(static_cast<double>(v) * screenSize / design);
}

} // namespace

Defaults::Defaults(EditSet &edit, Databases &databases, MessageSink &messages)
    : m_edit(edit), m_databases(databases), m_messages(messages)
{
}

RecordStore::Values Defaults::values(const EditSet &edit)
{
    RecordStore::Values v;
    for (const auto &c : kDefaults)
        v << qMakePair(toQString(c.field), QVariant(edit.text(toQString(c.window))));
    return v;
}

bool Defaults::accept()
{
    QString error;
    if (m_databases.writeSettings(values(m_edit), &error)) return true;
    showFileError(m_messages, m_databases.settingsFile(), error);
    return false;
}

QSize Defaults::scaleWindow(const QSize &design, const QSize &screenSize)
{
    return {scale(design.width(), screenSize.width(), kDesign.width()),
            scale(design.height(), screenSize.height(), kDesign.height())};
}

QRect Defaults::scaleControl(const QRect &design, const QSize &screenSize)
{
    return {scale(design.left(), screenSize.width(), kDesign.width()),
            scale(design.top(), screenSize.height(), kDesign.height()),
            scale(design.width(), screenSize.width(), kDesign.width()),
            scale(design.height(), screenSize.height(), kDesign.height())};
}

} // namespace vx
