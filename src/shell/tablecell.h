#pragma once

#include "text.h"

#include <QTableWidgetItem>

namespace vx {

// A cell of the history, journal and takings tables. Their texts come from
// the records, where another bench or an older version of this tool may
// have put anything: a control character shows as printableText() writes
// it, never as an invisible character.
inline QTableWidgetItem *tableCell(const QString &text, bool number)
{
    auto *item = new QTableWidgetItem(printableText(text));
    item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

} // namespace vx
