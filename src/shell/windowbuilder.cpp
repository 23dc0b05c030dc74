#include "windowbuilder.h"

#include "fieldtable.h"

#include "captionbutton.h"
#include "captions.h"
#include "indicator.h"
#include "picture.h"
#include "windowlayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace vx {

namespace {

const char *kPointsProperty = "vx_points";
const char *kKindPointsProperty = "vx_kind_points";

QString cssColor(Color c)
{
    switch (c) {
    case Color::Yellow:
        return QStringLiteral("rgb(255,255,192)");
    case Color::Orange:
        return QStringLiteral("rgb(255,192,128)");
    case Color::Peach:
        return QStringLiteral("rgb(255,224,192)");
    case Color::Red:
        return QStringLiteral("rgb(255,128,128)");
    case Color::None:
        break;
    }
    return {};
}

QWidget *create(const Placement &l, QWidget *parent)
{
    switch (l.kind) {
    case WidgetKind::Panel: {
        auto *f = new QFrame(parent);
        f->setProperty("vx_panel", true);
        return f;
    }
    case WidgetKind::Heading: {
        auto *r = new QLabel(parent);
        r->setAlignment(Qt::AlignCenter);
        r->setProperty("vx_header", true);
        return r;
    }
    case WidgetKind::Group:
        return new QGroupBox(parent);
    case WidgetKind::Label: {
        auto *r = new QLabel(parent);
        r->setAlignment(Qt::AlignCenter);
        return r;
    }
    case WidgetKind::Text: {
        auto *t = new QLineEdit(parent);
        t->setAlignment(Qt::AlignCenter);
        return t;
    }
    case WidgetKind::TickBox:
        return new QCheckBox(parent);
    case WidgetKind::Button:
        return new CaptionButton(parent);
    case WidgetKind::Picture:
        return new Picture(parent);
    case WidgetKind::Circle:
        return new Indicator(Indicator::Shape::Circle, parent);
    case WidgetKind::Rounded:
        return new Indicator(Indicator::Shape::Rounded, parent);
    case WidgetKind::Drawer:
        return new Indicator(Indicator::Shape::Rectangle, parent);
    case WidgetKind::Bar: {
        auto *b = new QProgressBar(parent);
        b->setRange(0, 100);
        b->setValue(0);
        b->setTextVisible(false);
        return b;
    }
    }
    return new QWidget(parent);
}

double pointsFor(WidgetKind t)
{
    switch (t) {
    case WidgetKind::Text:
    case WidgetKind::Heading:
        return 9.75;
    case WidgetKind::Group:
    case WidgetKind::Button:
    case WidgetKind::Label:
    case WidgetKind::TickBox:
        return 9.0;
    default:
        return 8.25;
    }
}

} // namespace

QString WindowBuilder::styleSheet()
{
    QString css = QStringLiteral(
        "QWidget#Area_main { background-color: rgb(223,221,253); }"
        "QFrame[vx_panel=\"true\"] { background-color: rgb(200,224,255);"
        " border: 2px solid white; border-radius: 6px; }"
        "QLabel[vx_header=\"true\"] { background-color: rgb(168,204,250);"
        " border: 1px solid white; border-radius: 9px; color: rgb(16,32,96); }"
        "QGroupBox { background-color: rgb(192,192,255); border: 1px solid rgb(128,128,208);"
        " border-radius: 4px; margin-top: 9px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 8px; padding: 0px 3px; background-color: rgb(192,192,255);"
        " border: 1px solid rgb(128,128,208); border-radius: 3px; }"
        "QLineEdit { background-color: white; border: 1px solid rgb(128,128,160);"
        " border-radius: 2px; }"
        "QLineEdit:disabled { background-color: rgb(236,236,244); color: rgb(60,60,80); }");
    css += QStringLiteral("QLabel#Label_master_ibut, QLabel#") + fieldName(FieldId::Battery) +
           QStringLiteral(" { color: rgb(220,0,0); }");
    for (const Placement &l : kWindowLayout) {
        const QString color = cssColor(l.color);
        if (color.isEmpty()) continue;
        const QString selector = l.kind == WidgetKind::TickBox ? QStringLiteral("QCheckBox")
                                 : l.kind == WidgetKind::Text  ? QStringLiteral("QLineEdit")
                                                               : QStringLiteral("QLabel");
        css += QStringLiteral("%1#%2 { background-color: %3; border: 1px solid rgb(170,170,130); }")
                   .arg(selector, Captions::text(l.name), color);
        if (l.kind == WidgetKind::TickBox)
            // Narrow columns: the caption gets what the tick leaves.
            css += QStringLiteral("QCheckBox#%1 { padding-left: 2px; spacing: 3px; }")
                       .arg(Captions::text(l.name));
    }
    return css;
}

double WindowBuilder::designPoints(const QWidget *w)
{
    return w->property(kPointsProperty).toDouble();
}

void WindowBuilder::setDesignPoints(QWidget *w, double points)
{
    w->setProperty(kPointsProperty, points);
    QFont f = w->font();
    f.setPointSizeF(points);
    w->setFont(f);
}

double WindowBuilder::kindPoints(const QWidget *w)
{
    return w->property(kKindPointsProperty).toDouble();
}

WindowBuilder::Result WindowBuilder::build(QWidget *area)
{
    Result r;
    for (const Placement &l : kWindowLayout) {
        const QString name = Captions::text(l.name);
        QWidget *parent =
            l.parent.empty() ? area : r.controls.value(Captions::text(l.parent), area);
        QWidget *w = create(l, parent);
        w->setObjectName(name);
        QFont f = QApplication::font();
        f.setPointSizeF(pointsFor(l.kind));
        f.setBold(l.kind == WidgetKind::Button || l.kind == WidgetKind::Heading);
        w->setFont(f);
        w->setProperty(kPointsProperty, pointsFor(l.kind));
        w->setProperty(kKindPointsProperty, pointsFor(l.kind));
        w->setGeometry(l.x, l.y, l.w, l.h);
        if (l.hidden) {
            w->setProperty("vx_hidden", true);
            w->setVisible(false);
        }
        const QString fixedCaption = Captions::caption(name, 0);
        if (auto *label = qobject_cast<QLabel *>(w))
            label->setText(fixedCaption);
        else if (auto *button = qobject_cast<QPushButton *>(w))
            button->setText(fixedCaption);
        r.controls.insert(name, w);
        r.design.insert(name, QRect(l.x, l.y, l.w, l.h));
    }
    for (const Field &f : kFieldTable)
        if (auto *t = qobject_cast<QLineEdit *>(r.controls.value(toQString(f.name))))
            t->setReadOnly(f.readOnly);
    return r;
}

} // namespace vx
