#pragma once

#include <QSize>
#include <functional>
#include <map>

#include "Resources.h"

class QWidget;

// Lays out the controls of a dialog template in `parent`. Dialog units are converted with the
// base units of the dialog font (a quarter of the average character width across, an eighth of
// the font height down); where a fixed text would not fit its control, the horizontal unit grows
// for the whole template, so that no label or button is ever clipped.
class DialogBuilder {
public:
    using ButtonHandler = std::function<void(unsigned id)>;

    // Returns the controls by number (controls numbered IDC_STATIC are left out).
    static std::map<unsigned, QWidget*> Build(const DialogResource& dialog, QWidget* parent,
                                              const ButtonHandler& onButton);
    // The size of the whole template in pixels, with the same units as Build.
    static QSize TemplateSize(const DialogResource& dialog, const QWidget* parent);
};
