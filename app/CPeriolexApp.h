#pragma once

#include <CWinApp.h>

// The application object: registers the catalogue document type, makes the main window and
// carries out the command line.
class CPeriolexApp : public CWinApp {
public:
    CPeriolexApp();

    void InitApplication() override;
    bool InitInstance() override;
    bool PreTranslateMessage(QObject* target, QEvent* event) override;

    // A CSV or RIS file becomes a new catalogue: the new-catalogue dialog asks where, the
    // records are imported into it and it opens. A catalogue of the Windows program is taken
    // over the same way after a question. Other files open as catalogues.
    CDocument* OpenOtherFile(const QString& pathName) override;
    // Catalogues of the Windows program go to OpenOtherFile whatever they are called.
    bool IsOtherFile(const QString& pathName) const override;

protected:
    bool ImportFromCommandLine(const QString& source, const QString& catalogue) override;
    bool ExportFromCommandLine(const QString& target, const QString& catalogue,
                               const QString* contains) override;
    QString OtherFileFilter() const override;

    void OnAppAbout();

    DECLARE_MESSAGE_MAP()

private:
    // Asks about the old catalogue and, if the user agrees, takes it over into a new one.
    CDocument* TakeOverOldCatalogue(const QString& pathName);
    // Imports `source` into the new catalogue `catalogue` (none when empty), opens it and says
    // how many records came.
    CDocument* ImportIntoNewCatalogue(const QString& source, const QString& table,
                                      const QString& catalogue);
    // On the command line, an old catalogue that its program may still be using is read all the
    // same, with a warning.
    static void WarnOfOldCatalogueInUse(const QString& source);

    // The table of an old catalogue that the command line chose (--table).
    QString m_strTable;
};
