#include "messagetexts.h"

#include "editset.h"

namespace vx {

QString messageText(MessageId id, int idioma)
{
    return textIn(textAt(kMessageTexts, id), idioma);
}

int languageOf(const EditSet &edit)
{
    return edit.checked(QStringLiteral("mnu_EN")) ? 1 : 0;
}

} // namespace vx
