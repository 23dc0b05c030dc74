#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <optional>

namespace vx {

// What QJsonDocument lets through in a text it parses: a key given twice in
// one object (it keeps the last) and raw control characters inside a text.
// A file this program wrote has neither, so either means the file was
// damaged or made by hand.
class JsonShape
{
public:
    // Empty for JSON without either (nor an escaped NUL); otherwise what is
    // wrong and where, in `idioma`, with anything unprintable escaped. Meant
    // for text QJsonDocument accepted.
    static QString damage(const QByteArray &json, int idioma);

    // A value's bytes as JSON names those no text says: [0, 0, 255].
    static QJsonArray bytes(const QByteArray &bytes);
    // Back from such a list of `count` numbers 0..255; nullopt otherwise.
    static std::optional<QByteArray> bytes(const QJsonValue &value, int count);
};

} // namespace vx
