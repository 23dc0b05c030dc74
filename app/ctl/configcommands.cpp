#include "configcommands.h"

#include "csvline.h"
#include "ctltexts.h"
#include "editset.h"

#include <cstdio>

using namespace vx;

ConfigCommands::ConfigCommands(Command command, QString path, bool allValues)
    : m_command(command), m_path(std::move(path)), m_allValues(allValues)
{
}

std::optional<ConfigCommands::Command> ConfigCommands::commandNamed(const QString &name)
{
    if (name == QLatin1String("save")) return Command::Save;
    if (name == QLatin1String("diff")) return Command::Diff;
    if (name == QLatin1String("restore")) return Command::Restore;
    return std::nullopt;
}

ConfigFile::Scope ConfigCommands::scope() const
{
    return m_allValues ? ConfigFile::Scope::All : ConfigFile::Scope::Settings;
}

bool ConfigCommands::loadFile()
{
    if (m_command == Command::Save) return true;
    QString error;
    const auto file = ConfigFile::load(m_path, &error, m_idioma);
    if (!file) {
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(error));
        return false;
    }
    m_file = *file;
    return true;
}

int ConfigCommands::afterRead(EditSet &edit, const QString &firmwareVersion, const QDateTime &now,
                              bool *writes, QSet<QString> *unwritten)
{
    *writes = false;
    switch (m_command) {
    case Command::Save:
        return save(edit, firmwareVersion, now);
    case Command::Diff:
        return diff(edit, firmwareVersion);
    case Command::Restore:
        if (refuseOtherUnit(ConfigFile::fromEditSet(edit, firmwareVersion, now)))
            return kFileProblem;
        return restore(edit, writes, unwritten);
    }
    return 0;
}

int ConfigCommands::save(const EditSet &edit, const QString &firmwareVersion, const QDateTime &now)
{
    QString error;
    if (ConfigFile::fromEditSet(edit, firmwareVersion, now).save(m_path, &error, m_idioma))
        return 0;
    std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(error));
    return kFileProblem;
}

bool ConfigCommands::reportRefusals(const char *consequence) const
{
    const auto refused = m_file.refusals(scope());
    for (const ConfigFile::Refusal &r : refused)
        std::fprintf(stderr, "vx308ctl: %s: %s: \"%s\" cannot be stored in the timer (%s); %s\n",
                     qPrintable(m_path), qPrintable(r.field),
                     qPrintable(ConfigFile::printable(r.text)), qPrintable(r.reason), consequence);
    return !refused.isEmpty();
}

int ConfigCommands::diff(const EditSet &edit, const QString &firmwareVersion)
{
    const ConfigFile timer = ConfigFile::fromEditSet(edit, firmwareVersion, QDateTime());
    const bool refused = reportRefusals("restore would refuse it");
    const auto differences = m_file.differences(timer, scope());
    for (const ConfigFile::Difference &d : differences)
        std::printf("%s", qPrintable(tabLine({d.field, d.caption, d.inFile, d.inTimer})));
    return differences.isEmpty() && !refused ? 0 : 1;
}

int ConfigCommands::restore(EditSet &edit, bool *writes, QSet<QString> *unwritten)
{
    const bool refused = reportRefusals(
        "not written, the other values are. Correct it in the file and restore again.");
    const QStringList marked = m_file.applyTo(edit, scope());
    for (const QString &name : marked)
        unwritten->insert(name);
    *writes = !marked.isEmpty();
    return refused ? 1 : 0;
}

bool ConfigCommands::refuseOtherUnit(const ConfigFile &timer) const
{
    if (scope() != ConfigFile::Scope::All || !m_file.isOtherUnit(timer)) return false;
    if (m_otherIdentity) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(ctlText("identityTaken", m_idioma)
                                    .arg(timer.unitName(m_idioma), m_file.unitName(m_idioma))));
        return false;
    }
    std::fprintf(stderr, "%s\n",
                 qPrintable(ctlText("otherUnit", m_idioma)
                                .arg(m_path, m_file.unitName(m_idioma), timer.unitName(m_idioma))));
    return true;
}
