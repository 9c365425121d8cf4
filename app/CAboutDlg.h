#pragma once

#include <CDialog.h>

// "Info über Periolex": the program's icon, name, version and copyright.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
