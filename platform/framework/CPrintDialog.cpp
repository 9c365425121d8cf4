#include "CPrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

#include "AfxRes.h"
#include "CPrintInfo.h"
#include "DialogWindow.h"
#include "ModalSeam.h"

CPrintDialog::CPrintDialog(CPrintInfo* pInfo, QWidget* parent)
    : m_pInfo(pInfo), m_pParent(parent) {}

int CPrintDialog::DoModal() {
    QPrinter* printer = m_pInfo->m_pPrinter;
    // The printer is the application's and outlives this printing: the pages chosen last time
    // are not this document's.
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges(QPageRanges());

    QPrintDialog dialog(printer, m_pParent);
    AfxMakeDialogWindow(&dialog, m_pParent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(static_cast<int>(m_pInfo->GetMinPage()),
                     static_cast<int>(m_pInfo->GetMaxPage()));

    int result = IDCANCEL;
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer =
            ModalSeam::Answer({ModalRequest::Kind::Dialog, dialog.windowTitle(), {}, 0});
        if (answer.fill) {
            answer.fill(&dialog);
        }
        if (answer.result == IDOK && !answer.fileName.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(answer.fileName);
        }
        result = answer.result == IDOK ? IDOK : IDCANCEL;
    } else {
        result = dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    }
    if (result == IDOK && printer->printRange() == QPrinter::PageRange) {
        m_pInfo->SetPageRanges(printer->pageRanges());
    }
    return result;
}
