#include "clearrequest.h"

#include "editset.h"
#include "textforms.h"

#include <QDir>
#include <QStringList>

namespace vx {

void requestClear(EditSet &edit)
{
    for (const char *n :
         {"Command_clear", "Command_ler", "Command_testar", "Command_imprimir", "Command_sair"})
        edit.setEnabled(QLatin1String(n), false);
    edit.session.limpar_pedido = true;
    edit.session.modo = 2;
    edit.session.escrever_pedido = true;
}

void zeroForClear(EditSet &edit, const QString &titulo_base)
{
    edit.setTitle(titulo_base);
    for (const Field &c : kFields)
        if (c.clear == ClearRule::Zeroed) edit.setText(toQString(c.name), QStringLiteral("0"));
    // The rest goes back to the device as shown; a value the technician
    // confirmed before Clear stays theirs.
    for (size_t i = 0; i < kFields.size(); ++i) {
        const int index = static_cast<int>(i);
        if (kFields[i].clear != ClearRule::Untouched && !edit.pending(index))
            edit.mark(index, ChangeKind::Clear);
    }
}

namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QString shownAfterClear(std::string_view field)
{
    // What the read shows of zero bytes: "0,00" of money, and -1 of the
    // power downs, of which the timer counts one more than the window shows.
    const Field *f = fieldNamed(toQString(field));
    return f ? shownText(*f, QByteArray(kFrameLength, '0')) : QStringLiteral("0");
}

QString clearQuestion(const EditSet &edit, int idioma, const QString &snapshotFile)
{
    const QString unit = UnitIdentity::shownMakerNumber(edit);
    QStringList rows;
    for (const Text &z : kZeroedByClear) {
        // A value already at what the erase leaves does not change.
        const QString now = edit.text(fromView(z.key));
        const QString after = shownAfterClear(z.key);
        if (now != after)
            rows << QStringLiteral("    %1: %2 \u2192 %3").arg(textIn(z, idioma), now, after);
    }
    if (rows.isEmpty()) rows << QStringLiteral("    \u2014");
    const QString kept = edit.text(fieldName(FieldId::Accumulated));
    const QString file = QDir::toNativeSeparators(snapshotFile);
    return textOf(kClearTexts, "clearQuestion", idioma)
        .arg(unit, rows.join(QLatin1Char('\n')), kept, file);
}

} // namespace vx
