#pragma once

#include <ImportPreview.h>

#include <QString>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

// Shows before an import what will arrive: the first records as the catalogue will take them,
// each column of the source with the field it goes to, and for CSV whether the first row is a
// heading; the encoding and the separator can be changed, and the preview follows at once. What
// was detected is the default, so Enter takes it. Answered through the modal seam in tests,
// whose answer may change the controls as a user would before it is taken.
class ImportPreviewDialog {
public:
    explicit ImportPreviewDialog(const QString& source);
    ~ImportPreviewDialog();
    ImportPreviewDialog(const ImportPreviewDialog&) = delete;
    ImportPreviewDialog& operator=(const ImportPreviewDialog&) = delete;

    // IDOK or IDCANCEL.
    int DoModal();
    // What the user set instead of what was detected; empty parts are left to detection.
    const ImportSettings& Settings() const { return m_chosen; }
    // The columns and their fields as one text ("Titel → Artikelname; Autor → nicht
    // übernehmen"), and on a line of its own what stops the first records from being read.
    QString Text() const;
    // The window itself, for tests that drive it with keys.
    QDialog* Dialog() const { return m_pDialog.get(); }

private:
    void Build();
    void Refresh(bool columnsToo);
    void FillColumns();
    void FillRecords();
    void TakeColumnChoices();

    QString m_strSource;
    ImportSettings m_chosen;
    ImportPreview m_preview;
    std::unique_ptr<QDialog> m_pDialog;
    QComboBox* m_pEncoding = nullptr;
    QLabel* m_pSeparatorLabel = nullptr;
    QComboBox* m_pSeparator = nullptr;
    QCheckBox* m_pHeader = nullptr;
    QLabel* m_pColumnsLabel = nullptr;
    QWidget* m_pColumns = nullptr;
    QGridLayout* m_pColumnGrid = nullptr;
    std::vector<QComboBox*> m_targets;
    QTableWidget* m_pRecords = nullptr;
    QLabel* m_pError = nullptr;
    QPushButton* m_pImport = nullptr;
};
