#pragma once

#include <CDialog.h>

#include <QString>

// "Abfrage": asks for the text that the article names must contain. Starts empty every time.
class CQueryDlg : public CDialog {
public:
    CQueryDlg();

    QString m_strText;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
