#include "DialogBuilder.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "AfxRes.h"
#include "ResourceLookup.h"

namespace {

struct BaseUnits {
    double x;  // pixels per 4 horizontal dialog units
    double y;  // pixels per 8 vertical dialog units
};

bool IsClass(const DialogItem& item, const char* name) {
    return std::strcmp(item.windowClass, name) == 0;
}

QString DisplayText(const DialogItem& item) {
    QString text = QString::fromUtf8(item.text);
    if (IsClass(item, "STATIC") && (item.style & SS_NOPREFIX)) {
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    }
    return text;
}

// Width of the text itself, plus the room that the control's frame takes around it.
double NeededWidth(const DialogItem& item, const QFontMetricsF& fm) {
    QString text = QString::fromUtf8(item.text);
    if (!(item.style & SS_NOPREFIX)) {
        text.remove(QLatin1Char('&'));
    }
    const double padding = IsClass(item, "BUTTON") ? fm.averageCharWidth() * 2 : 1;
    return fm.horizontalAdvance(text) + padding;
}

// Template windows draw their texts letter by letter, as the controls they stand in for did.
// Shaping a Latin text (kerning, ligatures) cost more than half of showing a record in the form;
// a script that needs shaping to be legible is still shaped.
QFont TemplateFont(const QFont& font) {
    QFont unshaped = font;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    return unshaped;
}

BaseUnits UnitsFor(const DialogResource& dialog, const QWidget* parent) {
    const QFontMetricsF fm(TemplateFont(parent->font()));
    const double average = fm.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           52.0;
    BaseUnits units{average, fm.height()};
    for (const DialogItem& item : dialog.items) {
        if (item.text && *item.text && (item.style & 0xF) != SS_ICON && item.cx > 0) {
            units.x = std::max(units.x, NeededWidth(item, fm) * 4.0 / item.cx);
        }
    }
    return units;
}

QRect ToPixels(const BaseUnits& u, int x, int y, int cx, int cy) {
    auto px = [&](int dlu) { return static_cast<int>(std::lround(dlu * u.x / 4.0)); };
    auto py = [&](int dlu) { return static_cast<int>(std::lround(dlu * u.y / 8.0)); };
    return QRect(px(x), py(y), px(cx), py(cy));
}

QWidget* MakeControl(const DialogItem& item, QWidget* parent,
                     const DialogBuilder::ButtonHandler& onButton) {
    if (IsClass(item, "EDIT")) {
        auto* edit = new QLineEdit(parent);
        edit->setFrame((item.style & WS_BORDER) != 0);
        return edit;
    }
    if (IsClass(item, "BUTTON")) {
        auto* button = new QPushButton(DisplayText(item), parent);
        button->setAutoDefault(false);
        button->setDefault((item.style & 0xF) == BS_DEFPUSHBUTTON);
        const unsigned id = item.id;
        QObject::connect(button, &QPushButton::clicked, parent, [onButton, id] { onButton(id); });
        return button;
    }
    auto* label = new QLabel(parent);
    if ((item.style & 0xF) == SS_ICON) {
        const int side = parent->style()->pixelMetric(QStyle::PM_LargeIconSize);
        label->setPixmap(AfxLoadIcon(QString::fromUtf8(item.text).toUInt()).pixmap(side, side));
    } else {
        label->setText(DisplayText(item));
        label->setTextFormat(Qt::PlainText);
    }
    return label;
}

// The top of the text line of a single-line edit: Qt centres the line in the edit's contents.
int EditTextTop(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = QRect(QPoint(), edit->size());
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = edit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                               .marginsRemoved(edit->textMargins());
    return edit->y() + contents.y() + (contents.height() - edit->fontMetrics().height() + 1) / 2;
}

// Template labels stand a few pixels lower than the text of the field beside them, which looks
// careless; each such label moves so that its text stands on its field's baseline. Its text
// also names the field for screen readers, which find no other name for it.
void PairLabelsWithFields(const std::vector<std::pair<const DialogItem*, QWidget*>>& built) {
    for (const auto& [label, labelWidget] : built) {
        auto* text = qobject_cast<QLabel*>(labelWidget);
        if (!text || !text->pixmap().isNull()) {
            continue;
        }
        const int middle = 2 * label->y + label->cy;  // in half dialog units
        for (const auto& [field, fieldWidget] : built) {
            auto* edit = qobject_cast<QLineEdit*>(fieldWidget);
            if (edit && field->x > label->x && 2 * field->y <= middle &&
                middle <= 2 * (field->y + field->cy)) {
                text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                text->move(text->x(), EditTextTop(edit) - text->contentsRect().top());
                QString name = QString::fromUtf8(label->text).remove(QLatin1Char('&'));
                while (name.endsWith(QLatin1Char(':'))) {
                    name.chop(1);
                }
                edit->setAccessibleName(name);
                break;
            }
        }
    }
}

}  // namespace

std::map<unsigned, QWidget*> DialogBuilder::Build(const DialogResource& dialog, QWidget* parent,
                                                  const ButtonHandler& onButton) {
    // Only the strategy is added: what the window did not set still follows the desktop.
    parent->setFont(TemplateFont(parent->font()));
    const BaseUnits units = UnitsFor(dialog, parent);
    std::map<unsigned, QWidget*> controls;
    std::vector<std::pair<const DialogItem*, QWidget*>> built;
    QWidget* previousTabStop = nullptr;
    QLabel* pendingBuddy = nullptr;
    for (const DialogItem& item : dialog.items) {
        QWidget* w = MakeControl(item, parent, onButton);
        w->setGeometry(ToPixels(units, item.x, item.y, item.cx, item.cy));
        if ((item.style & 0xF) == SS_ICON && IsClass(item, "STATIC")) {
            w->resize(w->sizeHint().expandedTo(w->size()));
        }
        w->setVisible((item.style & WS_VISIBLE) != 0);
        built.emplace_back(&item, w);
        if (item.id != IDC_STATIC) {
            controls[item.id] = w;
            w->setWhatsThis(AfxWhatsThisText(item.id, DisplayText(item)));
        }
        const bool isLabel = IsClass(item, "STATIC");
        if (!isLabel && (item.style & WS_TABSTOP)) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop) {
                QWidget::setTabOrder(previousTabStop, w);
            }
            previousTabStop = w;
            if (pendingBuddy) {
                pendingBuddy->setBuddy(w);
                pendingBuddy = nullptr;
            }
        } else if (!isLabel) {
            w->setFocusPolicy(Qt::NoFocus);
        }
        // A label with a marked letter takes the user to the next control in template order.
        if (isLabel && !(item.style & SS_NOPREFIX) &&
            QString::fromUtf8(item.text).contains(QLatin1Char('&'))) {
            pendingBuddy = static_cast<QLabel*>(w);
        }
    }
    PairLabelsWithFields(built);
    return controls;
}

QSize DialogBuilder::TemplateSize(const DialogResource& dialog, const QWidget* parent) {
    return ToPixels(UnitsFor(dialog, parent), 0, 0, dialog.cx, dialog.cy).size();
}
