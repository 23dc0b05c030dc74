#pragma once

#include <QByteArray>
#include <QString>

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
};

} // namespace vx
