#pragma once

#include "takingsreport.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vx {

class Clock;
class FileDialogs;
class MessageSink;
class Report;
class ServiceHistory;
class TakingsChart;

// "Receitas por unidade": every unit visited in a period, one row each with
// its takings between the first and the last visit, the hour bands' takings,
// the games, the visits and Clears and the signs an owner looks for (in red,
// each sign in full in the row's tooltip), and the takings in a bar chart per
// unit. Saved as CSV or as a PDF page.
//
// A history that cannot be read is said in the window, naming its place;
// "Actualizar" tries again.
class TakingsWindow : public QWidget
{
    Q_OBJECT
public:
    // Whole, frame and title included, on a 1024 x 768 screen.
    static constexpr QSize kDefaultSize{1016, 700};

    // Without file dialogs the window cannot save.
    TakingsWindow(ServiceHistory &history, Report &report, const Clock &clock, FileDialogs *dialogs,
                  MessageSink &messages, QWidget *parent = nullptr);
    ~TakingsWindow() override;

    void setLanguage(int idioma);
    // The days shown, both included; the year up to today when the window
    // opens.
    void setPeriod(const QDate &from, const QDate &to);
    QDate from() const;
    QDate to() const;
    // Reads the history of the period again.
    void refresh();

    const QList<UnitTakings> &rows() const { return m_rows; }
    QString notice() const;
    QTableWidget *table() const { return m_table; }
    TakingsChart *chart() const { return m_chart; }

    // Ask for a file and save the rows shown; a failure is reported through
    // the message sink. False when nothing was written.
    bool saveCsv();
    bool savePdf();

private:
    QString text(const char *key) const;
    void applyTexts();
    void showRows();
    void fillTable();
    void fillRow(int row, const UnitTakings &r);
    QString askFile(const char *caption, const QString &extension, const QString &filter);

    ServiceHistory &m_history;
    Report &m_report;
    FileDialogs *m_dialogs;
    MessageSink &m_messages;
    int m_idioma = 0;
    QList<UnitTakings> m_rows;
    QDate m_shownFrom; // the period m_rows are of
    QDate m_shownTo;
    QString m_error;
    QLabel *m_fromLabel;
    QDateEdit *m_from;
    QLabel *m_toLabel;
    QDateEdit *m_to;
    QPushButton *m_refresh;
    QPushButton *m_saveCsv;
    QPushButton *m_savePdf;
    QLabel *m_notice;
    QTableWidget *m_table;
    TakingsChart *m_chart;
    QLabel *m_summary;
};

} // namespace vx
