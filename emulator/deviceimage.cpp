#include "deviceimage.h"

#include "device.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace vx::emu {

namespace {

bool hexDigits(const QString &s, int count)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]*$"));
    return s.size() == count && re.match(s).hasMatch();
}

// A JSON number that is a whole number in [lo, hi].
std::optional<int> wholeNumber(const QJsonValue &v, int lo, int hi)
{
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (d != static_cast<double>(static_cast<long long>(d)) || d < lo || d > hi)
        return std::nullopt;
    return static_cast<int>(d);
}

} // namespace

DeviceImage DeviceImage::of(const Device &device)
{
    DeviceImage image;
    image.memory = device.memory();
    image.inputs = device.inputs();
    image.battery = device.battery();
    image.ibutton = device.ibutton();
    return image;
}

std::optional<DeviceImage> DeviceImage::fromJson(const QByteArray &json, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error) *error = why;
        return std::nullopt;
    };
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(QStringLiteral("not valid JSON at character %1: %2")
                        .arg(parse.offset)
                        .arg(parse.errorString()));
    if (!doc.isObject()) return fail(QStringLiteral("the file must hold one JSON object"));
    const QJsonObject o = doc.object();
    static const QStringList known = {QStringLiteral("memory"), QStringLiteral("inputs"),
                                      QStringLiteral("battery"), QStringLiteral("ibutton")};
    for (const QString &key : o.keys())
        if (!known.contains(key))
            return fail(QStringLiteral("unknown key \"%1\" (known: %2)")
                            .arg(key, known.join(QStringLiteral(", "))));

    DeviceImage image;
    if (o.contains(QStringLiteral("memory"))) {
        const QJsonValue v = o.value(QStringLiteral("memory"));
        if (!v.isArray() || v.toArray().size() != 256)
            return fail(QStringLiteral("\"memory\" must be a list of exactly 256 numbers"));
        const QJsonArray a = v.toArray();
        std::array<uint8_t, 256> bytes{};
        for (int i = 0; i < 256; ++i) {
            const auto b = wholeNumber(a.at(i), 0, 255);
            if (!b)
                return fail(QStringLiteral("\"memory\"[%1] must be a whole number 0..255").arg(i));
            bytes[i] = static_cast<uint8_t>(*b);
        }
        image.memory = bytes;
    }
    if (o.contains(QStringLiteral("inputs"))) {
        const QString s = o.value(QStringLiteral("inputs")).toString();
        if (!o.value(QStringLiteral("inputs")).isString() || !hexDigits(s, 7))
            return fail(QStringLiteral("\"inputs\" must be 7 digits, '0' for an active input, "
                                       "e.g. \"1111111\""));
        image.inputs = s.toUpper();
    }
    if (o.contains(QStringLiteral("battery"))) {
        const auto b = wholeNumber(o.value(QStringLiteral("battery")), 0, 255);
        if (!b) return fail(QStringLiteral("\"battery\" must be a whole number 0..255"));
        image.battery = *b;
    }
    if (o.contains(QStringLiteral("ibutton"))) {
        const QString s = o.value(QStringLiteral("ibutton")).toString();
        if (!o.value(QStringLiteral("ibutton")).isString() || !hexDigits(s, 12))
            return fail(QStringLiteral("\"ibutton\" must be 12 hex digits as the tool shows "
                                       "them, \"FFFFFFFFFFFF\" for no key"));
        image.ibutton = s.toUpper();
    }
    return image;
}

QByteArray DeviceImage::toJson() const
{
    // Written by hand rather than through QJsonDocument so that the memory
    // reads as sixteen bytes a line, like a dump, for whoever edits the file.
    QStringList parts;
    if (memory) {
        QStringList rows;
        for (int row = 0; row < 256; row += 16) {
            QStringList cells;
            for (int i = row; i < row + 16; ++i)
                cells << QString::number((*memory)[i]);
            rows << QStringLiteral("    ") + cells.join(QStringLiteral(", "));
        }
        parts << QStringLiteral("  \"memory\": [\n") + rows.join(QStringLiteral(",\n")) +
                     QStringLiteral("\n  ]");
    }
    // Inputs and serial hold hex digits only, so they need no escaping.
    if (inputs) parts << QStringLiteral("  \"inputs\": \"%1\"").arg(*inputs);
    if (battery) parts << QStringLiteral("  \"battery\": %1").arg(*battery);
    if (ibutton) parts << QStringLiteral("  \"ibutton\": \"%1\"").arg(*ibutton);
    return (QStringLiteral("{\n") + parts.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n"))
        .toUtf8();
}

void DeviceImage::applyTo(Device &device) const
{
    if (memory) device.setMemory(*memory);
    if (inputs) device.setInputs(*inputs);
    if (battery) device.setBattery(static_cast<uint8_t>(*battery));
    if (ibutton) device.setIbutton(*ibutton);
}

std::optional<DeviceImage> DeviceImage::load(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return std::nullopt;
    }
    QString why;
    auto image = fromJson(f.readAll(), &why);
    if (!image && error) *error = QStringLiteral("%1: %2").arg(path, why);
    return image;
}

bool DeviceImage::save(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(toJson()) < 0 || !f.commit()) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace vx::emu
