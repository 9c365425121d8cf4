#pragma once

class CPrintInfo;
class QWidget;

// The print dialog (Qt's, in German) over the printing's printer: printer, copies and the pages
// to print, offered between the printing's first and last page. In tests the modal seam answers
// it: the answer's file name sends the pages to that PDF file, and its `fill` gets the
// QPrintDialog to choose pages on, as the user would.
class CPrintDialog {
public:
    CPrintDialog(CPrintInfo* pInfo, QWidget* parent);

    // IDOK or IDCANCEL; with IDOK the chosen pages are in the print info.
    int DoModal();

private:
    CPrintInfo* m_pInfo;
    QWidget* m_pParent;
};
