#pragma once

#include "messages.h"
#include "messagetexts.h"

#include <QDir>
#include <QString>

namespace vx {

// A database or template file could not be used: a critical message that
// names the file, with the database's own reason under it, in the window's
// language (0 Portuguese, 1 English).
inline void showFileError(MessageSink &messages, const QString &file, const QString &detail,
                          int idioma = 0)
{
    messages.show(
        messageText(MessageId::FileUnusable, idioma).arg(QDir::toNativeSeparators(file), detail),
        messageText(MessageId::TitleError, idioma), MessageSink::Icon::Critical);
}

} // namespace vx
