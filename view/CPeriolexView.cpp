#include "CPeriolexView.h"

#include <CDaoRecordset.h>
#include <CDataExchange.h>

#include "doc/CPeriolexDoc.h"
#include "res/Resource.h"

namespace {

constexpr int kFieldLimit = 30;
constexpr int kCaptionLimit = 127;

}  // namespace

CPeriolexView::CPeriolexView() : CFormView(IDD_PERIOLEX_FORM) {}

CPeriolexDoc* CPeriolexView::GetDocument() const
{
    return static_cast<CPeriolexDoc*>(CFormView::GetDocument());
}

void CPeriolexView::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ZEITSCHRIFTENNUMMER, m_Zeitschriftennummer);
    DDV_MaxChars(pDX, IDC_ZEITSCHRIFTENNUMMER, m_Zeitschriftennummer, kFieldLimit);
    DDX_Text(pDX, IDC_ARTIKELNAME, m_Artikelname);
    DDV_MaxChars(pDX, IDC_ARTIKELNAME, m_Artikelname, kFieldLimit);
    DDX_Text(pDX, IDC_ZEITSCHRIFTENNAME, m_Zeitschriftenname);
    DDV_MaxChars(pDX, IDC_ZEITSCHRIFTENNAME, m_Zeitschriftenname, kFieldLimit);
    DDX_Text(pDX, IDC_SEITE, m_Seite);
    DDV_MaxChars(pDX, IDC_SEITE, m_Seite, kFieldLimit);
    DDX_Text(pDX, IDC_DATENSATZ, m_Datensatz);
    DDV_MaxChars(pDX, IDC_DATENSATZ, m_Datensatz, kCaptionLimit);
}

std::array<QString*, 4> CPeriolexView::FormFields()
{
    return {&m_Zeitschriftennummer, &m_Zeitschriftenname, &m_Artikelname, &m_Seite};
}

void CPeriolexView::OnUpdate(CView*, long, void*)
{
    m_pSet = GetDocument()->m_pRecordset;
    if (!m_pSet) {
        return;
    }
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    if (m_pSet->GetRecordCount() < 1) {
        ShowNoRecord();
        return;
    }
    m_pSet->MoveFirst();
    m_Datensatz = QStringLiteral("Datensatz 1 von ") + m_Anzahl;
    LoadRecord();
}

void CPeriolexView::ShowNoRecord()
{
    for (QString* field : FormFields()) {
        field->clear();
    }
    m_bShowsRecord = false;
    m_shownKey = COleVariant();
    m_Datensatz = QStringLiteral("Datensatz 0 von ") + m_Anzahl;
    UpdateData(false);
}

void CPeriolexView::LoadRecord()
{
    const std::array<QString*, 4> fields = FormFields();
    for (int i = 0; i < 4; ++i) {
        *fields[i] = QString::fromStdString(m_pSet->GetFieldValue(i + 1).GetString());
        m_loadedTexts[i] = *fields[i];
    }
    m_shownKey = m_pSet->GetBookmark();
    m_bShowsRecord = true;
    UpdateData(false);
}

void CPeriolexView::SaveRecord()
{
    UpdateData(true);
    if (!m_bShowsRecord || !m_pSet) {
        return;
    }
    const std::array<QString*, 4> fields = FormFields();
    std::array<bool, 4> changed{};
    bool anyChanged = false;
    for (int i = 0; i < 4; ++i) {
        changed[i] = *fields[i] != m_loadedTexts[i];
        anyChanged = anyChanged || changed[i];
    }
    // An unchanged form costs nothing: no statement, no disk write.
    if (!anyChanged) {
        return;
    }
    if (m_pSet->GetAbsolutePosition() < 0 || m_pSet->GetBookmark() != m_shownKey) {
        m_pSet->SetBookmark(m_shownKey);
    }
    m_pSet->Edit();
    for (int i = 0; i < 4; ++i) {
        if (changed[i]) {
            m_pSet->SetFieldValue(i + 1, fields[i]->toStdString());
        }
    }
    m_pSet->Update();
    for (int i = 0; i < 4; ++i) {
        m_loadedTexts[i] = *fields[i];
    }
}

void CPeriolexView::CommitPendingInput()
{
    if (m_pSet && m_bShowsRecord) {
        SaveRecord();
    }
}
