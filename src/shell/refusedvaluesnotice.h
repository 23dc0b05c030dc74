#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

namespace vx {

class EditSet;
class Engine;
class MessageSink;

// Values the write pass could not send (the timer cannot store them) must not
// vanish silently: they are collected during the pass and told to the
// technician in one message once it is over, each field named as its label
// reads, with the control name and the text that was not written, in the
// window's language.
class RefusedValuesNotice : public QObject
{
    Q_OBJECT
public:
    RefusedValuesNotice(EditSet &edit, Engine &engine, MessageSink &messages,
                        QObject *parent = nullptr);

private:
    void show();

    const EditSet &m_edit;
    MessageSink &m_messages;
    QList<QPair<QString, QString>> m_refused; // field, text
};

} // namespace vx
