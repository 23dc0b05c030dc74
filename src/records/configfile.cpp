#include "configfile.h"

#include "editset.h"
#include "fieldtable.h"
#include "jsonshape.h"
#include "messagetexts.h"
#include "safefile.h"
#include "storedvalue.h"
#include "textforms.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vx {

const char *const ConfigFile::kFormatName = "vx308-configuration";

namespace {

QString typeName(const QJsonValue &v, int idioma)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("true/false");
    case QJsonValue::Double:
        return textOf(kConfigFileTexts, "number", idioma);
    case QJsonValue::String:
        return textOf(kConfigFileTexts, "text", idioma);
    case QJsonValue::Array:
        return textOf(kConfigFileTexts, "list", idioma);
    case QJsonValue::Object:
        return textOf(kConfigFileTexts, "object", idioma);
    case QJsonValue::Undefined:
        break;
    }
    return textOf(kConfigFileTexts, "missing", idioma);
}

bool takeText(const QJsonObject &o, const QString &key, QString *out, QString *error, int idioma)
{
    const QJsonValue v = o.value(key);
    if (v.isString()) {
        *out = v.toString();
        return true;
    }
    *error = v.isUndefined()
                 ? textOf(kConfigFileTexts, "keyMissing", idioma).arg(key)
                 : textOf(kConfigFileTexts, "notText", idioma).arg(key, typeName(v, idioma));
    return false;
}

// A tick box is 0 or 1, as `read --json` prints it; any other whole number
// is a value the timer cannot store, refused later with the field named.
bool takeTickBox(const QJsonObject &o, const QString &key, QString *out, QString *error, int idioma)
{
    const QJsonValue v = o.value(key);
    const double d = v.toDouble();
    if (v.isDouble() && d == static_cast<double>(static_cast<qint64>(d))) {
        *out = QString::number(static_cast<qint64>(d));
        return true;
    }
    *error = v.isUndefined()
                 ? textOf(kConfigFileTexts, "keyMissing", idioma).arg(key)
                 : textOf(kConfigFileTexts, "notTickBox", idioma).arg(key, typeName(v, idioma));
    return false;
}

bool checkFormat(const QJsonObject &o, QString *error, int idioma)
{
    const QString format = o.value(QStringLiteral("format")).toString();
    if (format != QLatin1String(ConfigFile::kFormatName)) {
        *error = textOf(kConfigFileTexts, "otherFormat", idioma)
                     .arg(ConfigFile::printable(format), QLatin1String(ConfigFile::kFormatName));
        return false;
    }
    const QJsonValue version = o.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != version.toInt()) {
        *error = textOf(kConfigFileTexts, "versionNotWhole", idioma).arg(typeName(version, idioma));
        return false;
    }
    if (version.toInt() > ConfigFile::kFormatVersion) {
        *error = textOf(kConfigFileTexts, "newerVersion", idioma)
                     .arg(version.toInt())
                     .arg(ConfigFile::kFormatVersion);
        return false;
    }
    if (version.toInt() < 1) {
        *error = textOf(kConfigFileTexts, "unknownVersion", idioma).arg(version.toInt());
        return false;
    }
    return true;
}

bool takeDescription(const QJsonObject &o, ConfigFile &file, QString *error, int idioma)
{
    QString saved;
    if (!takeText(o, QStringLiteral("saved"), &saved, error, idioma) ||
        !takeText(o, QStringLiteral("tool_version"), &file.toolVersion, error, idioma))
        return false;
    file.saved = QDateTime::fromString(saved, Qt::ISODate);
    if (!file.saved.isValid()) {
        *error = textOf(kConfigFileTexts, "savedNotDate", idioma).arg(ConfigFile::printable(saved));
        return false;
    }
    const QJsonValue unitValue = o.value(QStringLiteral("unit"));
    if (!unitValue.isObject()) {
        *error = textOf(kConfigFileTexts, "unitNotObject", idioma).arg(typeName(unitValue, idioma));
        return false;
    }
    const QJsonObject unit = unitValue.toObject();
    QString unitError;
    if (takeText(unit, QStringLiteral("manufacturing_number"), &file.manufacturingNumber,
                 &unitError, idioma) &&
        takeText(unit, QStringLiteral("application_serial"), &file.applicationSerial, &unitError,
                 idioma) &&
        takeText(unit, QStringLiteral("firmware_version"), &file.firmwareVersion, &unitError,
                 idioma))
        return true;
    *error = textOf(kConfigFileTexts, "inUnit", idioma).arg(unitError);
    return false;
}

bool takeValues(const QJsonObject &o, ConfigFile &file, QString *error, int idioma)
{
    for (const QString &name : ConfigFile::fieldNames(ConfigFile::Scope::All)) {
        QString text;
        const bool tickBox = fieldNamed(name)->form == TextForm::Flag;
        if (!(tickBox ? takeTickBox(o, name, &text, error, idioma)
                      : takeText(o, name, &text, error, idioma)))
            return false;
        file.setValue(name, text);
    }
    return true;
}

// "bytes": for each value no text says, its bytes as the timer held them.
// Optional: a file without it (or an older tool's) has every value in text.
bool takeRawBytes(const QJsonObject &o, ConfigFile &file, QString *error, int idioma)
{
    const QJsonValue v = o.value(QStringLiteral("bytes"));
    if (v.isUndefined()) return true;
    if (!v.isObject()) {
        *error = textOf(kConfigFileTexts, "badBytes", idioma).arg(QStringLiteral("bytes"));
        return false;
    }
    const QJsonObject bytes = v.toObject();
    const QStringList names = ConfigFile::fieldNames(ConfigFile::Scope::All);
    for (auto it = bytes.begin(); it != bytes.end(); ++it) {
        const Field *f = names.contains(it.key()) ? fieldNamed(it.key()) : nullptr;
        const auto raw = f ? JsonShape::bytes(it.value(), f->bytes) : std::nullopt;
        if (!raw) {
            *error =
                textOf(kConfigFileTexts, "badBytes", idioma).arg(ConfigFile::printable(it.key()));
            return false;
        }
        file.setRawBytes(it.key(), *raw);
    }
    return true;
}

// One value as JSON text; an object is indented to sit `indent` spaces in.
QByteArray jsonText(const QJsonValue &v, int indent)
{
    if (v.isObject()) {
        QByteArray text = QJsonDocument(v.toObject()).toJson(QJsonDocument::Indented).trimmed();
        return text.replace("\n", "\n" + QByteArray(indent, ' '));
    }
    const QByteArray text = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

// QJsonObject sorts its keys; a file read by people keeps the description
// first and the values in the window's order.
QByteArray orderedJsonObject(const QList<QPair<QString, QJsonValue>> &members)
{
    constexpr int kIndent = 4;
    QByteArrayList lines;
    for (const auto &[key, value] : members)
        lines << QByteArray(kIndent, ' ') + jsonText(key, 0) + ": " + jsonText(value, kIndent);
    return "{\n" + lines.join(",\n") + "\n}\n";
}

} // namespace

QStringList ConfigFile::fieldNames(Scope scope)
{
    QStringList names;
    for (const Field &c : kFields)
        if (c.copied && (scope == Scope::All || c.setting)) names << toQString(c.name);
    return names;
}

QString ConfigFile::caption(const QString &field)
{
    const Field *f = fieldNamed(field);
    return f && !f->fileCaption.empty() ? toQString(f->fileCaption) : field;
}

ConfigFile ConfigFile::fromEditSet(const EditSet &edit, const QString &firmwareVersion,
                                   const QDateTime &saved)
{
    ConfigFile file;
    file.saved = saved;
    file.toolVersion = QStringLiteral(VX_VERSION);
    file.manufacturingNumber = UnitIdentity::shownMakerNumber(edit);
    file.applicationSerial = edit.text(fieldName(FieldId::ApplicationSerial));
    file.firmwareVersion = firmwareVersion;
    for (const QString &name : fieldNames(Scope::All)) {
        const bool tickBox = fieldNamed(name)->form == TextForm::Flag;
        file.setValue(name,
                      tickBox ? QString::number(edit.checked(name) ? 1 : 0) : edit.text(name));
        file.setRawBytes(name, edit.rawBytes(name));
    }
    return file;
}

QByteArray ConfigFile::toJson() const
{
    QJsonObject unit;
    unit.insert(QStringLiteral("manufacturing_number"), manufacturingNumber);
    unit.insert(QStringLiteral("application_serial"), applicationSerial);
    unit.insert(QStringLiteral("firmware_version"), firmwareVersion);
    QList<QPair<QString, QJsonValue>> members{
        {QStringLiteral("format"), QLatin1String(kFormatName)},
        {QStringLiteral("version"), kFormatVersion},
        {QStringLiteral("saved"),
         saved.toOffsetFromUtc(saved.offsetFromUtc()).toString(Qt::ISODate)},
        {QStringLiteral("tool_version"), toolVersion},
        {QStringLiteral("unit"), unit}};
    for (const QString &name : fieldNames(Scope::All)) {
        if (fieldNamed(name)->form == TextForm::Flag)
            members.append({name, value(name).toInt()});
        else
            members.append({name, value(name)});
    }
    QJsonObject raw;
    for (const QString &name : fieldNames(Scope::All))
        if (!m_bytes.value(name).isEmpty()) raw.insert(name, JsonShape::bytes(m_bytes.value(name)));
    if (!raw.isEmpty()) members.append({QStringLiteral("bytes"), raw});
    return orderedJsonObject(members);
}

std::optional<ConfigFile> ConfigFile::fromJson(const QByteArray &json, QString *error, int idioma)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = textOf(kConfigFileTexts, "notJson", idioma)
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    if (!doc.isObject()) {
        *error = textOf(kConfigFileTexts, "noObject", idioma);
        return std::nullopt;
    }
    // Qt's parser keeps the last of a key given twice and lets raw control
    // characters through; neither is in a file this program saved.
    if (const QString damage = JsonShape::damage(json, idioma); !damage.isEmpty()) {
        *error = damage;
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    ConfigFile file;
    if (!checkFormat(o, error, idioma) || !takeDescription(o, file, error, idioma) ||
        !takeValues(o, file, error, idioma) || !takeRawBytes(o, file, error, idioma))
        return std::nullopt;
    return file;
}

bool ConfigFile::save(const QString &path, QString *error, int idioma) const
{
    if (SafeFile::write(path, toJson(), idioma, error)) return true;
    *error += textOf(kConfigFileTexts, "chooseAnother", idioma);
    return false;
}

std::optional<ConfigFile> ConfigFile::load(const QString &path, QString *error, int idioma)
{
    QByteArray json;
    if (!SafeFile::read(path, kMaxFileBytes, idioma, &json, error)) {
        *error += textOf(kConfigFileTexts, "checkName", idioma);
        return std::nullopt;
    }
    QString why;
    auto file = fromJson(json, &why, idioma);
    if (!file) *error = textOf(kConfigFileTexts, "nothingWritten", idioma).arg(path, why);
    return file;
}

QString ConfigFile::printable(const QString &text)
{
    return printableText(text);
}

bool ConfigFile::isOtherUnit(const ConfigFile &timer) const
{
    for (FieldId id : {FieldId::MakerCode, FieldId::MakerNumber, FieldId::ApplicationSerial}) {
        const Field &field = fieldRow(id);
        const QString name = fieldName(id);
        const QString mine = value(name);
        const QString theirs = timer.value(name);
        if (!isStorable(field, mine, rawBytes(name))) continue; // refused, so not written
        if (!isStorable(field, theirs, timer.rawBytes(name)) ||
            storedBytes(field, mine, rawBytes(name)) !=
                storedBytes(field, theirs, timer.rawBytes(name)))
            return true;
    }
    return false;
}

QString ConfigFile::unitName(int idioma) const
{
    return textOf(kConfigFileTexts, "unitName", idioma)
        .arg(printable(makerNumberText(value(fieldName(FieldId::MakerCode)),
                                       value(fieldName(FieldId::MakerNumber)))),
             printable(value(fieldName(FieldId::ApplicationSerial))));
}

QList<ConfigFile::Refusal> ConfigFile::refusals(Scope scope) const
{
    QList<Refusal> refused;
    for (const QString &name : fieldNames(scope)) {
        const Field &field = *fieldNamed(name);
        const QString text = value(name);
        if (!isStorable(field, text, rawBytes(name)))
            refused.append(
                {name, text, textOf(kConfigFileTexts, "mustBe").arg(whatIsStorable(field.form))});
    }
    return refused;
}

void ConfigFile::setRawBytes(const QString &field, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        m_bytes.remove(field);
    else
        m_bytes.insert(field, bytes);
}

namespace {

// A difference between values whose text is the same placeholder is in the
// bytes behind it: "- (bytes 00 00 00)".
QString withBytes(const QString &text, const QByteArray &raw, const Field &field)
{
    if (!rawApplies(field, text, raw)) return text;
    return text + QStringLiteral(" (bytes ") + bytesText(raw) + QLatin1Char(')');
}

} // namespace

QList<ConfigFile::Difference> ConfigFile::differences(const ConfigFile &timer, Scope scope) const
{
    QList<Difference> found;
    for (const QString &name : fieldNames(scope)) {
        const Field &field = *fieldNamed(name);
        const QString mine = value(name);
        const QString theirs = timer.value(name);
        const QByteArray mineRaw = rawBytes(name);
        const QByteArray theirRaw = timer.rawBytes(name);
        if (!isStorable(field, mine, mineRaw)) continue;
        if (isStorable(field, theirs, theirRaw) &&
            storedBytes(field, mine, mineRaw) == storedBytes(field, theirs, theirRaw))
            continue;
        found.append({name, caption(name), withBytes(mine, mineRaw, field),
                      withBytes(theirs, theirRaw, field)});
    }
    return found;
}

QStringList ConfigFile::applyTo(EditSet &edit, Scope scope) const
{
    QStringList marked;
    for (const QString &name : fieldNames(scope)) {
        const Field &field = *fieldNamed(name);
        const QString text = value(name);
        const QByteArray raw = rawBytes(name);
        if (!isStorable(field, text, raw)) continue;
        if (field.form == TextForm::Flag)
            edit.setChecked(name, text == QLatin1String("1"));
        else
            edit.setText(name, textToWrite(field, text));
        edit.keepRawBytes(name, rawApplies(field, text, raw) ? raw : QByteArray());
        marked << name;
    }
    edit.mark(marked, ChangeKind::Restore);
    return marked;
}

} // namespace vx
