#pragma once

#include "changejournal.h"

#include <QList>
#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QTableWidget;

namespace vx {

// The history window's changes of a unit: every value the timer accepted,
// newest first, with the value before and after, how, when, on which PC and
// by whom; a list of the fields changed narrows the table to one. Says how
// many changes wait on this PC for records that could not be reached.
class JournalPanel : public QWidget
{
    Q_OBJECT
public:
    explicit JournalPanel(ChangeJournal journal, QWidget *parent = nullptr);

    // The data folder whose outbox holds the changes waiting on this PC;
    // none are counted without it.
    void setOutboxFolder(const QString &dataFolder) { m_outboxFolder = dataFolder; }
    void setLanguage(int idioma);
    // Reads the unit's changes again; an empty number shows none.
    void showUnit(const QString &manufacturingNumber, const QString &applicationSerial);
    // Shows the changes of one field alone; empty: every field.
    void filterField(const QString &field);

    const QList<JournalEntry> &changes() const { return m_changes; }
    // The line above the table: why the changes could not be read, that
    // there are none, and how many wait on this PC.
    QString notice() const;
    QString countText() const;
    QTableWidget *table() const { return m_table; }
    QComboBox *fields() const { return m_fields; }

private:
    QString text(const char *key) const;
    QString howCaption(const QString &how) const;
    void applyTexts();
    void fillFields();
    void fillTable();

    ChangeJournal m_journal;
    QString m_outboxFolder;
    int m_idioma = 0;
    QString m_number;
    QList<JournalEntry> m_changes;
    QString m_error;
    QString m_field; // the filter; empty: all
    QLabel *m_fieldLabel;
    QComboBox *m_fields;
    QLabel *m_notice;
    QTableWidget *m_table;
};

} // namespace vx
