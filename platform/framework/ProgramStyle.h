#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <map>

// The widget style the program runs in (the platform's, or the one the user chose), with the
// icons of window title buttons made once. Qt's styles make a new icon each time they paint, for
// instance, a maximized document window's buttons in the menu bar, and every new icon leaves its
// scaled pixmap in Qt's pixmap cache: the program grew with each repaint of the menu bar, which
// every command and every opened menu causes.
class ProgramStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    // Puts the program's style in place of the application's, once.
    static void Install();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;

private:
    mutable std::map<StandardPixmap, QIcon> m_titleButtons;
};
