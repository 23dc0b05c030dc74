#pragma once

#include "configfile.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTableWidget;

namespace vx {

// The differences between a configuration file and the timer, side by side
// (field, in the file, in the timer), for "Comparar com ficheiro…" and, with
// the question whether to write them, for "Repor configuração…". A tick box
// widens the comparison from the settings to every value the file carries.
class ConfigurationDialog : public QDialog
{
    Q_OBJECT
public:
    ConfigurationDialog(ConfigFile file, ConfigFile timer, const QString &fileName,
                        bool asksToWrite, int idioma, QWidget *parent = nullptr);

    ConfigFile::Scope scope() const { return m_scope; }
    void setScope(ConfigFile::Scope scope);
    QTableWidget *table() const { return m_table; }
    // The warning that the file is another unit's; empty when it is not, or
    // when the scope leaves the identity alone.
    QString otherUnitWarning() const;
    const QList<ConfigFile::Difference> &differences() const { return m_differences; }
    const QList<ConfigFile::Refusal> &refusals() const { return m_refusals; }

    // The menu's and this dialog's texts in the language `idioma`.
    static QString text(std::string_view key, int idioma);

private:
    void fill();

    ConfigFile m_file;
    ConfigFile m_timer;
    QString m_fileName;
    bool m_asksToWrite;
    int m_idioma;
    ConfigFile::Scope m_scope = ConfigFile::Scope::Settings;
    QList<ConfigFile::Difference> m_differences;
    QList<ConfigFile::Refusal> m_refusals;
    QLabel *m_summary;
    QTableWidget *m_table;
    QLabel *m_refused;
    // Said when every value would give the timer another unit's identity.
    QLabel *m_otherUnit;
    QCheckBox *m_allValues;
    QLabel *m_question;
};

} // namespace vx
