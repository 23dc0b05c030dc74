#include "configurationdialog.h"

#include "captions.h"
#include "messagetexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vx {

namespace {

} // namespace

QString ConfigurationDialog::text(std::string_view key, int idioma)
{
    return textOf(kConfigurationDialogTexts, key, idioma);
}

ConfigurationDialog::ConfigurationDialog(ConfigFile file, ConfigFile timer, const QString &fileName,
                                         bool asksToWrite, int idioma, QWidget *parent)
    : QDialog(parent), m_file(std::move(file)), m_timer(std::move(timer)), m_fileName(fileName),
      m_asksToWrite(asksToWrite), m_idioma(idioma), m_summary(new QLabel(this)),
      m_table(new QTableWidget(0, 3, this)), m_refused(new QLabel(this)),
      m_otherUnit(new QLabel(this)), m_allValues(new QCheckBox(text("all", idioma), this)),
      m_question(new QLabel(text("question", idioma), this))
{
    setObjectName(QStringLiteral("Form_configuracao"));
    setWindowTitle(text("title", idioma));
    m_table->setObjectName(QStringLiteral("Table_diferencas"));
    m_table->setHorizontalHeaderLabels(
        {text("field", idioma), text("file", idioma), text("timer", idioma)});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_refused->setWordWrap(true);
    m_otherUnit->setObjectName(QStringLiteral("Label_outra_unidade"));
    m_otherUnit->setWordWrap(true);
    m_otherUnit->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    m_allValues->setObjectName(QStringLiteral("Check_todos"));
    connect(m_allValues, &QCheckBox::toggled, this, [this](bool on) {
        setScope(on ? ConfigFile::Scope::All : ConfigFile::Scope::Settings);
    });

    auto *buttons = new QDialogButtonBox(
        asksToWrite ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // QDialogButtonBox sends "Close" through neither signal.
    connect(buttons, &QDialogButtonBox::clicked, this, [this, buttons](QAbstractButton *b) {
        if (buttons->standardButton(b) == QDialogButtonBox::Close) reject();
    });
    if (QPushButton *no = buttons->button(QDialogButtonBox::No)) no->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table);
    layout->addWidget(m_refused);
    layout->addWidget(m_allValues);
    layout->addWidget(m_otherUnit);
    layout->addWidget(m_question);
    layout->addWidget(buttons);
    m_question->setVisible(asksToWrite);
    resize(640, 480);
    fill();
}

void ConfigurationDialog::setScope(ConfigFile::Scope scope)
{
    m_scope = scope;
    m_allValues->setChecked(scope == ConfigFile::Scope::All);
    fill();
}

void ConfigurationDialog::fill()
{
    m_differences = m_file.differences(m_timer, m_scope);
    m_refusals = m_file.refusals(m_scope);
    m_summary->setText(
        text(m_differences.isEmpty() ? "same" : "differences", m_idioma).arg(m_fileName));
    m_table->setRowCount(static_cast<int>(m_differences.size()));
    for (int row = 0; row < m_differences.size(); ++row) {
        const ConfigFile::Difference &d = m_differences.at(row);
        QString caption = Captions::accessibleName(d.field, m_idioma);
        if (caption.isEmpty()) caption = d.caption;
        m_table->setItem(row, 0, new QTableWidgetItem(caption));
        m_table->setItem(row, 1, new QTableWidgetItem(ConfigFile::printable(d.inFile)));
        m_table->setItem(row, 2, new QTableWidgetItem(d.inTimer));
        m_table->item(row, 0)->setData(Qt::UserRole, d.field);
    }
    QStringList refused;
    for (const ConfigFile::Refusal &r : std::as_const(m_refusals))
        refused << QStringLiteral("%1: \"%2\" (%3)")
                       .arg(r.field, ConfigFile::printable(r.text), r.reason);
    m_refused->setText(refused.isEmpty() ? QString()
                                         : text("refused", m_idioma) + QLatin1Char('\n') +
                                               refused.join(QLatin1Char('\n')));
    m_refused->setVisible(!refused.isEmpty());
    m_otherUnit->setText(otherUnitWarning());
    m_otherUnit->setVisible(!m_otherUnit->text().isEmpty());
}

QString ConfigurationDialog::otherUnitWarning() const
{
    if (m_scope != ConfigFile::Scope::All || !m_file.isOtherUnit(m_timer)) return {};
    return text("otherUnit", m_idioma)
        .arg(m_fileName, m_file.unitName(m_idioma), m_timer.unitName(m_idioma));
}

} // namespace vx
