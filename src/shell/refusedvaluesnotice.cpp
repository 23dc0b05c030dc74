#include "refusedvaluesnotice.h"

#include "captions.h"
#include "editset.h"
#include "engine.h"
#include "messages.h"

namespace vx {

RefusedValuesNotice::RefusedValuesNotice(EditSet &edit, Engine &engine, MessageSink &messages,
                                         QObject *parent)
    : QObject(parent), m_messages(messages)
{
    connect(&edit, &EditSet::valueRefused, this, [this](const QString &field, const QString &text) {
        m_refused.append({field, text});
    });
    connect(&engine, &Engine::tickFinished, this, &RefusedValuesNotice::show);
}

void RefusedValuesNotice::show()
{
    if (m_refused.isEmpty()) return;
    // Messages are Portuguese in both languages.
    QStringList rows;
    for (const auto &[field, text] : std::as_const(m_refused)) {
        const QString label = Captions::accessibleName(field, 0);
        rows << QStringLiteral("%1 (%2): \"%3\"").arg(label.isEmpty() ? field : label, field, text);
    }
    m_refused.clear();
    m_messages.show(
        QStringLiteral("Estes valores não foram escritos no temporizador, que não os pode "
                       "guardar:\n%1\nCorrija-os e confirme cada um com Enter.")
            .arg(rows.join(QLatin1Char('\n'))),
        QStringLiteral("Manutenção"), MessageSink::Icon::None);
}

} // namespace vx
