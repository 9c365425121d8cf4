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
    // opens. A catalogue of the Windows program is taken over the same way after a question.
    // Other files open as catalogues.
    CDocument* OpenOtherFile(const QString& pathName) override;
    // Catalogues of the Windows program go to OpenOtherFile whatever they are called.
    bool IsOtherFile(const QString& pathName) const override;

protected:
    bool ImportFromCommandLine(const QString& source, const QString& catalogue) override;
    bool ExportFromCommandLine(const QString& target, const QString& catalogue,
                               const QString* contains) override;
    int CopyFromCommandLine(const CCommandLineInfo& info) override;
    QString OtherFileFilter() const override;

    void OnAppAbout();

private:
    // Takes --columns, --no-header, --keep-duplicates and --table for an import from the command
    // line; false, after saying why, when they are wrong or given without --import.
    bool TakeImportOptions(const CCommandLineInfo& info);
    // Asks about the old catalogue and, if the user agrees, takes it over into a new one.
    CDocument* TakeOverOldCatalogue(const QString& pathName);
    // Imports `source` into the new catalogue `catalogue` (none when empty), opens it and says
    // how many records came.
    CDocument* ImportIntoNewCatalogue(const QString& source, const ImportOptions& options,
                                      const QString& catalogue);
    // On the command line, an old catalogue that its program may still be using is read all the
    // same, with a warning.
    static void WarnOfOldCatalogueInUse(const QString& source);

    ImportOptions m_importOptions;

    DECLARE_MESSAGE_MAP()
};
