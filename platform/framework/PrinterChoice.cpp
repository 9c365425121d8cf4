#include "PrinterChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include "AfxRes.h"
#include "CFileDialog.h"
#include "CPrintInfo.h"
#include "CWinApp.h"
#include "ResourceLookup.h"

namespace {

std::optional<bool>& TestOverride() {
    static std::optional<bool> installed;
    return installed;
}

}  // namespace

bool AfxPrintersInstalled() {
    if (TestOverride()) {
        return *TestOverride();
    }
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void AfxSetPrintersInstalledForTesting(std::optional<bool> installed) {
    TestOverride() = installed;
}

std::unique_ptr<QPrinter> AfxMakePdfPrinter(const QString& path, const QPrinter* like) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    if (like) {
        printer->setPageLayout(like->pageLayout());
    }
    printer->setOutputFileName(path);
    return printer;
}

bool AfxChoosePdfFile(CPrintInfo* pInfo, const QString& documentPath, QWidget* parent) {
    // Offered beside the document, under its name.
    const QFileInfo document(documentPath);
    const QString suggested =
        documentPath.isEmpty()
            ? QString()
            : document.dir().filePath(document.completeBaseName() + QStringLiteral(".pdf"));
    CFileDialog dialog(false, QStringLiteral("pdf"), suggested,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       AfxLoadString(AFX_IDS_PRINT_PDF_FILTER), parent);
    dialog.SetTitle(AfxLoadString(AFX_IDS_PRINT_PDF_TITLE));
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    CWinApp* app = AfxGetApp();
    pInfo->SetOwnPrinter(
        AfxMakePdfPrinter(dialog.GetPathName(), app ? app->GetPrinter() : nullptr));
    return true;
}
