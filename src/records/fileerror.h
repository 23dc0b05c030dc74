#pragma once

#include "messages.h"

#include <QDir>
#include <QString>

namespace vx {

// A database or template file could not be used: a critical message that
// names the file, with the store's own reason under it.
inline void showFileError(MessageSink &messages, const QString &file, const QString &detail)
{
    messages.show(QStringLiteral("Não foi possível usar o ficheiro %1.\n%2")
                      .arg(QDir::toNativeSeparators(file), detail),
                  QStringLiteral("Mensagem de Erro!"), MessageSink::Icon::Critical);
}

} // namespace vx
