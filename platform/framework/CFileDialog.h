#pragma once

#include <QString>

class QWidget;

constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
constexpr unsigned OFN_HIDEREADONLY = 0x4;
constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;

// The file dialog for opening or saving. The filter is given as "Name|*.ext|Name|*.*||".
class CFileDialog {
public:
    CFileDialog(bool bOpenFileDialog, const QString& defExt = {}, const QString& fileName = {},
                unsigned flags = 0, const QString& filter = {}, QWidget* parent = nullptr);

    void SetTitle(const QString& title) { m_strTitle = title; }
    // The label before the name and the text of the button that takes it, in place of the
    // standard ones.
    void SetLabels(const QString& fileNameLabel, const QString& acceptLabel) {
        m_strFileNameLabel = fileNameLabel;
        m_strAcceptLabel = acceptLabel;
    }
    // IDOK or IDCANCEL.
    int DoModal();

    // The full path of the chosen file; a name typed without extension gets the default one.
    QString GetPathName() const;
    QString GetFileName() const;   // name with extension, without folder
    QString GetFileTitle() const;  // name as the user sees it in titles

private:
    bool m_bOpen;
    QString m_strDefExt;
    QString m_strFileName;
    unsigned m_nFlags;
    QString m_strFilter;
    QWidget* m_pParent;
    QString m_strTitle;
    QString m_strFileNameLabel;
    QString m_strAcceptLabel;
    QString m_strChosen;
};
