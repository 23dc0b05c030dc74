#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace vx {

class EditSet;

// One unit's values kept in a file, to be compared with or put on a unit
// later: the JSON file of `vx308ctl save`, `diff` and `restore` (the format is
// described in docs/configuration-file.md). The fields are the ones "Pic ->
// PC" keeps, under the names `vx308ctl read --json` prints; which of them are
// settings is the `setting` column of kFields.
class ConfigFile
{
public:
    // What a restore writes: the settings only, or every kept value.
    enum class Scope
    {
        Settings,
        All
    };

    struct Difference
    {
        QString field;
        QString caption;
        QString inFile;
        QString inTimer;
    };

    struct Refusal
    {
        QString field;
        QString text;
        QString reason;
    };

    static const char *const kFormatName;
    static constexpr int kFormatVersion = 1;

    // The fields of `scope`, in the order the write pass sends them.
    static QStringList fieldNames(Scope scope);
    // The English caption of a field as the window labels it.
    static QString caption(const QString &field);

    // The values a read left in the edit set. `firmwareVersion` is the
    // device version as the window title's suffix shows it.
    static ConfigFile fromEditSet(const EditSet &edit, const QString &firmwareVersion,
                                  const QDateTime &saved);

    QByteArray toJson() const;
    // The file's contents, or nullopt and what is wrong with them.
    static std::optional<ConfigFile> fromJson(const QByteArray &json, QString *error,
                                              int idioma = 1);
    // Both name the file in *error (what went wrong with the file itself in
    // the language `idioma`). A save that fails leaves an older file of
    // that name as it was; a load takes only a regular file of at most
    // kMaxFileBytes.
    bool save(const QString &path, QString *error, int idioma = 1) const;
    static std::optional<ConfigFile> load(const QString &path, QString *error, int idioma = 1);
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // `text` as a message may show it: control characters and invisible
    // format characters from a crafted file as \xNN or \uNNNN, so that they
    // never reach a terminal raw.
    static QString printable(const QString &text);

    // Whether a restore of every value would give the timer another unit's
    // manufacturing number or application serial.
    bool isOtherUnit(const ConfigFile &timer) const;
    // "A24153 (application serial 104233)": the unit these values name.
    QString unitName(int idioma) const;

    // The values of `scope` the timer cannot store, each with why.
    QList<Refusal> refusals(Scope scope) const;
    // The storable values of `scope` that differ from `timer`'s: what a
    // restore would change.
    QList<Difference> differences(const ConfigFile &timer, Scope scope) const;
    // Puts the storable values of `scope` into the edit set and marks them
    // for writing. Returns the fields marked.
    QStringList applyTo(EditSet &edit, Scope scope) const;

    // A tick box's value is "0" or "1".
    QString value(const QString &field) const { return m_values.value(field); }
    void setValue(const QString &field, const QString &text) { m_values.insert(field, text); }
    // The bytes the timer held for a value no text says ("-"): what a
    // restore writes back while the value's text is still that one.
    QByteArray rawBytes(const QString &field) const { return m_bytes.value(field); }
    void setRawBytes(const QString &field, const QByteArray &bytes);

    QDateTime saved;
    QString toolVersion;
    QString manufacturingNumber; // manufacturing code, then sequence number
    QString applicationSerial;
    QString firmwareVersion;

private:
    QHash<QString, QString> m_values;
    QHash<QString, QByteArray> m_bytes;
};

} // namespace vx
