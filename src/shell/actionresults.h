#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace vx {

class EditSet;
class Engine;
class Link;
class NewUnit;
class StatusLine;

// What an action the technician started is doing and how it ended, on the
// status line: impulses, the display test, the report printed or exported,
// a configuration saved and a new unit accepted. Actions that run over
// several ticks (impulses, the display test, the new unit's writes) keep
// their "under way" text until the engine says they ended; the others say
// at once what was done or what failed. Another unit on the line is said
// there too, with what it cut off.
class ActionResults : public QObject
{
    Q_OBJECT
public:
    ActionResults(EditSet &edit, Engine &engine, const Link &link, NewUnit &newUnit,
                  StatusLine &status, std::function<int()> language, QObject *parent = nullptr);

    // Right after "Enviar" and "Testar Displays" were handed to the engine.
    void impulsesRequested();
    void displayTestRequested();
    // Right after "Aceitar" was handed to the new-unit flow.
    void unitAcceptRequested(bool accepted);

    // Actions that end at once: a caption key for the text while it runs,
    // then the result. `what` fills "%1" (a file name).
    void started(const char *key, const QString &what = {});
    void finished(const char *key, const QString &what = {});

private:
    void followButton(const QString &name);
    void followStop();
    void followSwap();
    QString text(const char *key) const;
    // The line's last transaction was answered.
    bool lastAnswered() const;

    EditSet &m_edit;
    const Link &m_link;
    StatusLine &m_status;
    std::function<int()> m_language;
    int m_impulses = -1; // -1: none under way
    bool m_displayTest = false;
    bool m_newUnit = false;
};

} // namespace vx
