#include "jsonshape.h"

#include "configfile.h"
#include "messagetexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QSet>

namespace vx {

namespace {

struct Level
{
    bool object = false;
    QSet<QString> keys;
};

// The end of the text that opens at `start` (its closing quote), or, for a
// raw control character or an escaped NUL inside it (which messages and the
// timer's fields would show cut short), -1 with *problem saying where.
qsizetype endOfText(const QByteArray &json, qsizetype start, int idioma, QString *problem)
{
    for (qsizetype i = start + 1; i < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json.at(i));
        if (c == '\\' && json.mid(i + 1, 5) == "u0000") {
            *problem = textOf(kJsonShapeTexts, "nul", idioma).arg(i);
            return -1;
        }
        if (c == '\\') {
            ++i;
        } else if (c == '"') {
            return i;
        } else if (c < 0x20) {
            *problem = textOf(kJsonShapeTexts, "control", idioma)
                           .arg(static_cast<int>(c), 2, 16, QLatin1Char('0'))
                           .arg(i);
            return -1;
        }
    }
    return json.size();
}

bool followedByColon(const QByteArray &json, qsizetype from)
{
    for (qsizetype i = from; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == ':') return true;
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return false;
}

QString decodedText(const QByteArray &quoted)
{
    return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
}

} // namespace

QString JsonShape::damage(const QByteArray &json, int idioma)
{
    QList<Level> levels;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (c == '{' || c == '[') levels.append(Level{c == '{', {}});
        if ((c == '}' || c == ']') && !levels.isEmpty()) levels.removeLast();
        if (c != '"') continue;
        QString problem;
        const qsizetype end = endOfText(json, i, idioma, &problem);
        if (end < 0) return problem;
        if (!levels.isEmpty() && levels.last().object && followedByColon(json, end + 1)) {
            const QString key = decodedText(json.mid(i, end - i + 1));
            if (levels.last().keys.contains(key))
                return textOf(kJsonShapeTexts, "twice", idioma).arg(ConfigFile::printable(key));
            levels.last().keys.insert(key);
        }
        i = end;
    }
    return {};
}

QJsonArray JsonShape::bytes(const QByteArray &bytes)
{
    QJsonArray list;
    for (const char b : bytes)
        list.append(static_cast<uint8_t>(b));
    return list;
}

std::optional<QByteArray> JsonShape::bytes(const QJsonValue &value, int count)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.size() != count) return std::nullopt;
    QByteArray bytes;
    for (const QJsonValue &v : list) {
        const double d = v.toDouble(-1);
        if (!v.isDouble() || d < 0 || d > 255 || d != static_cast<int>(d)) return std::nullopt;
        bytes.append(static_cast<char>(static_cast<int>(d)));
    }
    return bytes;
}

} // namespace vx
