#pragma once

#include <CWinApp.h>

#include "catalogue/CatalogueImport.h"

// The application object: registers the catalogue document type, makes the main window and
// carries out the command line.
class CPeriolexApp : public CWinApp {
public:
    CPeriolexApp();

    void InitApplication() override;
    bool InitInstance() override;
    bool PreTranslateMessage(QObject* target, QEvent* event) override;

    // A CSV, RIS or BibTeX file becomes a new catalogue: the preview shows what will arrive,
    // a file dialog asks where the catalogue goes, the records are imported into it and it
    // opens. Other files open as catalogues.
    CDocument* OpenOtherFile(const QString& pathName) override;

protected:
    bool ImportFromCommandLine(const QString& source, const QString& catalogue) override;
    bool ExportFromCommandLine(const QString& target, const QString& catalogue,
                               const QString* contains) override;
    int CopyFromCommandLine(const CCommandLineInfo& info) override;
    QString OtherFileFilter() const override;

    void OnAppAbout();

private:
    // Takes --columns, --no-header and --keep-duplicates for an import from the command line;
    // false, after saying why, when they are wrong or given without --import.
    bool TakeImportOptions(const CCommandLineInfo& info);

    ImportOptions m_importOptions;

    DECLARE_MESSAGE_MAP()
};
