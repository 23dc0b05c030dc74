#include "fieldtable.h"
#include "readorder.h"

#include "frame.h"

namespace vx {

QString fieldName(FieldId id)
{
    return toQString(fieldRow(id).name);
}

const Field *fieldNamed(const QString &name)
{
    for (const Field &f : kFieldTable)
        if (QLatin1String(f.name.data(), qsizetype(f.name.size())) == name) return &f;
    return nullptr;
}

int fieldIndex(std::string_view name)
{
    for (size_t i = 0; i < kFields.size(); ++i)
        if (kFields[i].name == name) return static_cast<int>(i);
    return -1;
}

QString keyReaderCaption(bool ticked, uint8_t kind)
{
    if (!ticked) return QStringLiteral("iButton");
    return kind != 0 ? QStringLiteral("iButton de Dados") : QStringLiteral("iButton de Apagar");
}

QString versionSuffix(const QByteArray &reply)
{
    int n = 0;
    for (int pos : {kDataOffset + 1, kDataOffset}) {
        const char c = reply.at(pos);
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
    }
    switch (n) {
    case 4:
        return QStringLiteral(".5");
    case 3:
        return QStringLiteral(".4");
    case 2:
        return QStringLiteral(".3");
    case 1:
        return QStringLiteral(".2");
    default:
        return QStringLiteral(".1");
    }
}

} // namespace vx
