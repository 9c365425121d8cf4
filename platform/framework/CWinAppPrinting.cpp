// The application's printing from the command line.
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDocument.h"
#include "CView.h"
#include "CWinApp.h"
#include "ModalSeam.h"
#include "PrinterChoice.h"
#include "ResourceLookup.h"

namespace {

// Nobody sits at the screen while the command line prints: every question the program would
// ask is answered "Cancel" and its text goes to standard error instead.
class UnattendedQuestions {
public:
    UnattendedQuestions()
        : m_bWasEnabled(ModalSeam::IsEnabled()), m_nFirst(ModalSeam::Requests().size()) {
        ModalSeam::Enable(true);
    }
    ~UnattendedQuestions() {
        const auto& requests = ModalSeam::Requests();
        for (std::size_t i = m_nFirst; i < requests.size(); ++i) {
            std::fprintf(stderr, "%s\n", qPrintable(requests[i].text));
        }
        if (!m_bWasEnabled) {
            ModalSeam::Reset();
            ModalSeam::Enable(false);
        }
    }
    UnattendedQuestions(const UnattendedQuestions&) = delete;
    UnattendedQuestions& operator=(const UnattendedQuestions&) = delete;

private:
    bool m_bWasEnabled;
    std::size_t m_nFirst;
};

// The printer the command line names: a file name ending in .pdf is a PDF file to write;
// without a name, the default printer. Null, after saying why, when there is no such printer.
std::unique_ptr<QPrinter> CommandLinePrinter(const CCommandLineInfo& info) {
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) {
        const QString& name = info.m_strPrinterName;
        if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
            return AfxMakePdfPrinter(name, nullptr);
        }
        const QPrinterInfo printer = QPrinterInfo::printerInfo(name);
        if (printer.isNull()) {
            AfxMessageBox(AfxLoadString(AFX_IDP_PRINTER_UNKNOWN).arg(name), MB_OK | MB_ICONSTOP);
            return nullptr;
        }
        return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
    }
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        AfxMessageBox(AFX_IDP_NO_DEFAULT_PRINTER, MB_OK | MB_ICONSTOP);
        return nullptr;
    }
    return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
}

}  // namespace

bool CWinApp::PrintFromCommandLine(const CCommandLineInfo& info) {
    UnattendedQuestions unattended;
    const std::unique_ptr<QPrinter> printer = CommandLinePrinter(info);
    if (!printer) {
        return false;
    }
    CDocument* doc = OpenDocumentFile(info.m_strFileName);
    if (!doc) {
        return false;
    }
    bool printed = false;
    if (!doc->GetViews().empty()) {
        CView* view = doc->GetViews().front();
        RunGuarded([&] { printed = view->PrintDirect(printer.get()); });
    }
    // Nothing was typed, so closing stores nothing: the catalogue stays as it was.
    doc->OnCloseDocument();
    return printed;
}
