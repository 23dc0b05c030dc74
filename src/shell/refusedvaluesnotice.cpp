#include "refusedvaluesnotice.h"

#include "captions.h"
#include "editset.h"
#include "engine.h"
#include "messages.h"
#include "messagetexts.h"

namespace vx {

RefusedValuesNotice::RefusedValuesNotice(EditSet &edit, Engine &engine, MessageSink &messages,
                                         QObject *parent)
    : QObject(parent), m_edit(edit), m_messages(messages)
{
    connect(&edit, &EditSet::valueRefused, this, [this](const QString &field, const QString &text) {
        m_refused.append({field, text});
    });
    connect(&engine, &Engine::tickFinished, this, &RefusedValuesNotice::show);
}

void RefusedValuesNotice::show()
{
    if (m_refused.isEmpty()) return;
    const int idioma = languageOf(m_edit);
    QStringList rows;
    for (const auto &[field, text] : std::as_const(m_refused)) {
        const QString label = Captions::accessibleName(field, idioma);
        rows << QStringLiteral("%1 (%2): \"%3\"").arg(label.isEmpty() ? field : label, field, text);
    }
    m_refused.clear();
    m_messages.show(
        messageText(MessageId::ValuesNotWritten, idioma).arg(rows.join(QLatin1Char('\n'))),
        messageText(MessageId::TitleMaintenance, idioma), MessageSink::Icon::None);
}

} // namespace vx
