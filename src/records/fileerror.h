#pragma once

#include "messages.h"
#include "messagetexts.h"

#include <QDir>
#include <QString>

namespace vx {

// A database or template file could not be used: a critical message that
// names the file, with the database's own reason under it, in the window's
// language (0 Portuguese, 1 English). `file` is a place as the records name
// it: a records server's URI (never with its password) is said to be the
// records at that URI, not a file.
inline void showFileError(MessageSink &messages, const QString &file, const QString &detail,
                          int idioma = 0)
{
    const bool server = file.startsWith(QLatin1String("postgresql://"));
    messages.show(messageText(server ? MessageId::RecordsUnusable : MessageId::FileUnusable, idioma)
                      .arg(server ? file : QDir::toNativeSeparators(file), detail),
                  messageText(MessageId::TitleError, idioma), MessageSink::Icon::Critical);
}

} // namespace vx
