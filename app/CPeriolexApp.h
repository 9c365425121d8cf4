#pragma once

#include <CWinApp.h>

// The application object: registers the catalogue document type, makes the main window and
// carries out the command line.
class CPeriolexApp : public CWinApp {
public:
    CPeriolexApp() = default;

    void InitApplication() override;
    bool InitInstance() override;
    bool PreTranslateMessage(QObject* target, QEvent* event) override;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
