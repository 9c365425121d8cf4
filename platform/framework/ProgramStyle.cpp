#include "ProgramStyle.h"

#include <QApplication>

namespace {

bool IsTitleButton(QStyle::StandardPixmap icon) {
    switch (icon) {
        case QStyle::SP_TitleBarMenuButton:
        case QStyle::SP_TitleBarMinButton:
        case QStyle::SP_TitleBarMaxButton:
        case QStyle::SP_TitleBarCloseButton:
        case QStyle::SP_TitleBarNormalButton:
        case QStyle::SP_TitleBarShadeButton:
        case QStyle::SP_TitleBarUnshadeButton:
        case QStyle::SP_TitleBarContextHelpButton:
            return true;
        default:
            return false;
    }
}

}  // namespace

void ProgramStyle::Install() {
    if (!dynamic_cast<ProgramStyle*>(QApplication::style())) {
        QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
    }
}

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (!IsTitleButton(standardIcon)) {
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    auto made = m_titleButtons.find(standardIcon);
    if (made == m_titleButtons.end()) {
        made = m_titleButtons
                   .emplace(standardIcon, QProxyStyle::standardIcon(standardIcon, option, widget))
                   .first;
    }
    return made->second;
}
