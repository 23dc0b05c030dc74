#pragma once

#include "configfile.h"
#include "services.h"

#include <QObject>
#include <functional>
#include <optional>

class QMenu;

namespace vx {

class ConfigurationDialog;
class FormMain;

// "Configuração": the values of the unit read into the window saved to a
// configuration file, compared with one, or put back from one (written by
// the write pass, as if typed). Offered while a unit is connected after a
// read, as "Sair" is.
class ConfigurationMenu : public QObject
{
    Q_OBJECT
public:
    enum class FileUse
    {
        Save,
        Open
    };

    ConfigurationMenu(const Services &s, FormMain &window);

    QMenu *menu() const { return m_menu; }

    // Shows the differences; true when the technician accepts. The dialog
    // runs modal unless a test puts something else here.
    std::function<bool(ConfigurationDialog &)> showDialog;

    void saveConfiguration();
    void compareWithFile();
    void restoreConfiguration();

private:
    // Asks for a file's name, empty when the technician cancels or no file
    // can be asked for.
    QString chooseFile(FileUse use) const;
    bool connected() const;
    bool ofUnitOnLine() const;
    void followConnection();
    ConfigFile timerValues() const;
    std::optional<ConfigFile> openFile(QString *fileName);
    void showError(const QString &text);

    Services m_s;
    FormMain &m_window;
    QMenu *m_menu;
};

} // namespace vx
