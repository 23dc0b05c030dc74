#pragma once

// The main window's model, the engine hooks and the two database files, for
// the tests of "Novo". The engine timer is a pair of counters.

#include "clock.h"
#include "countingengine.h"
#include "datafolder.h"
#include "editset.h"
#include "fixedclock.h"
#include "messages.h"
#include "newunit.h"
#include "recordingmessages.h"
#include "tables.h"

using namespace vx;

struct NewUnitFixture
{
    NewUnitFixture() { edit.session.modo = 2; }

    void log(int nmec, int nact, int sact, const QDate &data)
    {
        QString error;
        if (!a.appendLogRow({nmec, "A0000" + QString::number(nact), nact, sact, data, QTime(8, 0)},
                            &error))
            qFatal("%s", qPrintable(error));
    }
    int rows() { return DataFolder::count(a.databases.logFile(), "TbRegisto"); }
    QList<QVariantList> lastRow()
    {
        return DataFolder::sql(a.databases.logFile(),
                               {"SELECT NMec, NFab, NAct, SAct, Data, hora FROM TbRegisto "
                                "ORDER BY ordem DESC LIMIT 1"});
    }
    bool anyMark() const { return edit.anyPending(); }
    // What the engine's write pass does with the marks, the device accepting
    // every write except those of the fields named.
    void writeAll(const QStringList &unanswered = {})
    {
        for (size_t i = 0; i < kFields.size(); ++i) {
            if (!edit.take(int(i))) continue;
            if (!unanswered.contains(toQString(kFields[i].name))) edit.reportWritten(int(i));
        }
    }

    DataFolder a;
    RecordingMessages msgs;
    FixedClock clock{QDateTime(QDate(2007, 2, 1), QTime(9, 5, 30))};
    EditSet edit{msgs};
    CountingEngine engine;
    NewUnit newUnit{edit, engine, a.databases, a.records, msgs, clock};
};

inline const QString kInvalid = QStringLiteral("O valor inserido não é válido!");
