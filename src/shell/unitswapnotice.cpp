#include "unitswapnotice.h"

#include "captions.h"
#include "editset.h"
#include "messagetexts.h"

namespace vx {

namespace {

// The values that belong to a unit: every writable field and the last
// maintenance.
QStringList unitValueNames()
{
    QStringList names;
    for (const Field &f : kFields)
        names << toQString(f.name);
    names << fieldName(FieldId::LastMaintenance);
    return names;
}

} // namespace

UnitSwapNotice::UnitSwapNotice(const EditSet &edit,
                               std::function<QWidget *(const QString &)> control, QWidget *parent)
    : QLabel(parent), m_edit(edit), m_control(std::move(control))
{
    setObjectName(QStringLiteral("Notice_unit"));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMargin(6);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QLabel#Notice_unit { background: #ffd6d6; color: #5a0000; "
                                 "border: 2px solid #b00000; }"));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Notice_unit"));
    hide();
    connect(&m_edit, &EditSet::unitMismatchChanged, this, &UnitSwapNotice::refresh);
}

void UnitSwapNotice::place(const QRect &area)
{
    m_area = area;
    refresh();
}

void UnitSwapNotice::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    refresh();
}

QString UnitSwapNotice::textFor(const EditSet &edit, int idioma)
{
    const auto &mismatch = edit.unitMismatch();
    if (!mismatch) return {};
    const QString changed = messageText(MessageId::UnitChanged, idioma)
                                .arg(mismatch->read.label(), mismatch->onLine.label());
    QStringList dropped;
    for (const auto &[field, text] : mismatch->notWritten)
        dropped << QStringLiteral("%1 %2").arg(Captions::accessibleName(field, idioma), text);
    for (const QString &command : mismatch->notDone)
        dropped << textOf(kUnitSwapTexts, command.toUtf8().constData(), idioma);
    if (dropped.isEmpty()) return changed;
    return changed + QLatin1Char('\n') +
           textOf(kUnitSwapTexts, "notDone", idioma).arg(dropped.join(QStringLiteral("; ")));
}

void UnitSwapNotice::refresh()
{
    const QString text = textFor(m_edit, m_idioma);
    setText(text);
    setAccessibleDescription(text);
    if (m_area.isValid())
        setGeometry(m_area.x(), m_area.y(), m_area.width(),
                    std::max(m_area.height(), heightForWidth(m_area.width())));
    setVisible(!text.isEmpty());
    if (!text.isEmpty()) raise();
    markValues(!text.isEmpty());
}

void UnitSwapNotice::markValues(bool notOfUnit)
{
    const QString tip = notOfUnit ? textFor(m_edit, m_idioma) : QString();
    for (const QString &name : unitValueNames()) {
        QWidget *w = m_control(name);
        if (!w) continue;
        QFont f = w->font();
        f.setStrikeOut(notOfUnit);
        f.setItalic(notOfUnit);
        w->setFont(f);
        w->setToolTip(tip);
    }
}

} // namespace vx
