#include "recordstore.h"

#include <QDateTime>

namespace vx {

bool RecordStore::normalize(const QVariant &v, Kind k, QVariant *out)
{
    if (!v.isValid() || v.isNull()) {
        *out = QVariant();
        return true;
    }
    switch (k) {
    case Kind::Text:
        // QtSql binds a null string as NULL; an empty text must stay "".
        *out = v.toString().isNull() ? QStringLiteral("") : v.toString();
        return true;
    case Kind::Integer: {
        bool ok = false;
        *out = v.toString().trimmed().toLongLong(&ok);
        return ok;
    }
    case Kind::Date: {
        const QDate d = v.typeId() == QMetaType::QDate
                            ? v.toDate()
                            : QDate::fromString(v.toString(), Qt::ISODate);
        *out = d;
        return d.isValid();
    }
    case Kind::Time: {
        const QTime t = v.typeId() == QMetaType::QTime
                            ? v.toTime()
                            : QTime::fromString(v.toString(), Qt::ISODate);
        *out = QTime(t.hour(), t.minute(), t.second());
        return t.isValid();
    }
    }
    return false;
}

} // namespace vx
