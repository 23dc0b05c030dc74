#pragma once

// The main window's model after a read, every value distinct, with the
// database files and a recording printer, for the tests of the report.

#include "clock.h"
#include "datafolder.h"
#include "editset.h"
#include "fixedclock.h"
#include "messages.h"
#include "recordingmessages.h"
#include "recordingreportprinter.h"
#include "report.h"
#include "reportprinter.h"

#include <QLocale>

using namespace vx;

struct ReportFixture
{
    DataFolder a;
    RecordingMessages msgs;
    EditSet edit{msgs};
    RecordingReportPrinter printer;
    FixedClock clock{QDateTime(QDate(2007, 2, 1), QTime(9, 5, 30))};
    Report report{edit, a.databases, printer, msgs, clock};

    // A window after a read, every value distinct.
    void readDone(const QString &p = QString())
    {
        const char *bands[] = {"00", "08", "12", "15", "20"};
        for (int i = 0; i < 5; ++i) {
            edit.setText(QStringLiteral("Text_S%1").arg(bands[i]),
                         p + QStringLiteral("1,0%1").arg(i));
            edit.setText(QStringLiteral("Text_F%1").arg(bands[i]),
                         p + QStringLiteral("2,0%1").arg(i));
            edit.setText(QStringLiteral("Text_total%1").arg(bands[i]),
                         p + QStringLiteral("3,0%1").arg(i));
        }
        edit.setText("Text_acumulado", p + "401,00");
        edit.setText("Text_a_pagar", p + "402,00");
        edit.setText("text_numfab_ano", "A0705");
        edit.setText("Text_numfab_num", p + "12");
        edit.setChecked("Check_ibut", true);
        edit.setChecked("Check_contador", false);
        edit.setText("Text_ibut", "0000000012AB");
        edit.setText("Text_act_data", "03-01-2007");
        edit.setText("Text_act_hora", "17:45");
        edit.setText("Label_percentagem", "87%");
        edit.setText("Text_rtc_data", "01-02-2007");
        edit.setText("Text_rtc_hora", "09:04");
        edit.setText("Text_pwdrelogio", p + "5101");
        edit.setText("Text_pwdtarifas", p + "5202");
        edit.setText("Text_power", p + "61");
        edit.setText("Text_aberturas", p + "6202");
        edit.setText("Text_prog", p + "63");
        edit.setText("Text_fracao", p + "64");
        edit.setText("Text_contador", p + "6505");
    }

    QVariantMap stored()
    {
        QVariantMap v;
        QString error;
        if (!a.databases.readReport(&v, &error)) qWarning() << error;
        return v;
    }
};

// Data_Sys in the report's language (Portuguese unless "English" is ticked).
inline QString dataSys(const QDateTime &t, int idioma = 0)
{
    const QLocale language = idioma == 1 ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                         : QLocale(QLocale::Portuguese, QLocale::Portugal);
    return language.toString(t.date(), QLocale::ShortFormat) + " @ " +
           language.toString(t.time(), QLocale::ShortFormat);
}
