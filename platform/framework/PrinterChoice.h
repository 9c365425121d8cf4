#pragma once

#include <QString>
#include <memory>
#include <optional>

class CPrintInfo;
class QPrinter;
class QWidget;

// True when the system has at least one printer (a print server that answers).
bool AfxPrintersInstalled();
// Tests decide whether the program believes in printers; nullopt asks the system again.
void AfxSetPrintersInstalledForTesting(std::optional<bool> installed);

// A printer that writes the PDF file `path`, with the page layout of `like` when given.
std::unique_ptr<QPrinter> AfxMakePdfPrinter(const QString& path, const QPrinter* like);

// Without a printer the pages go into a PDF file: asks for its name (offering the document's
// path or title with .pdf) and makes the printing's printer write it. False when cancelled.
bool AfxChoosePdfFile(CPrintInfo* pInfo, const QString& documentPath, QWidget* parent);
