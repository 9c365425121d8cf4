#pragma once

#include "CView.h"

// A view whose window is a dialog template, scrolled when the frame is smaller than the form.
// Buttons of the form carry command numbers and run those commands.
class CFormView : public CView {
public:
    explicit CFormView(unsigned nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

    void Create(CMDIChildWnd* pFrame) override;
    // Fills the form from the members, then updates as every view does.
    void OnInitialUpdate() override;

private:
    unsigned m_nIDTemplate;
};
