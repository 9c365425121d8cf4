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
    // records are imported into it and it opens. Other files open as catalogues.
    CDocument* OpenOtherFile(const QString& pathName) override;

protected:
    bool ImportFromCommandLine(const QString& source, const QString& catalogue) override;
    bool ExportFromCommandLine(const QString& target, const QString& catalogue,
                               const QString* contains) override;
    int CopyFromCommandLine(const CCommandLineInfo& info) override;
    QString OtherFileFilter() const override;

    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
