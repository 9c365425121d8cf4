#include "CPeriolexView.h"

#include <AfxMessageBox.h>
#include <CDaoException.h>
#include <CDaoRecordset.h>
#include <CDataExchange.h>
#include <ResourceLookup.h>

#include "doc/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/ArticleQuery.h"
#include "view/CQueryDlg.h"

namespace {

constexpr int kFieldLimit = 30;
constexpr int kCaptionLimit = 127;

}  // namespace

CPeriolexView::CPeriolexView() : CFormView(IDD_PERIOLEX_FORM) {}

MESSAGE_MAP(CPeriolexView, CFormView,
            ON_COMMAND(ID_DATENSATZ_ERSTER, &ThisClass::OnDatensatzErster),
            ON_COMMAND(ID_DATENSATZ_LETZTER, &ThisClass::OnDatensatzLetzter),
            ON_COMMAND(ID_DATENSATZ_NAECHSTER, &ThisClass::OnDatensatzNaechster),
            ON_COMMAND(ID_DATENSATZ_VORHERIGER, &ThisClass::OnDatensatzVorheriger),
            ON_COMMAND(ID_DATENSATZ_HINZUFUEGEN, &ThisClass::OnDatensatzHinzufuegen),
            ON_COMMAND(ID_DATENSATZ_LOESCHEN, &ThisClass::OnDatensatzLoeschen),
            ON_COMMAND(IDC_ABFRAGE, &ThisClass::OnQuery),
            ON_COMMAND(IDC_ABFRAGE_LOESCHEN, &ThisClass::OnClearQuery))

CPeriolexDoc* CPeriolexView::GetDocument() const {
    return static_cast<CPeriolexDoc*>(CFormView::GetDocument());
}

void CPeriolexView::DoDataExchange(CDataExchange* pDX) {
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

std::array<QString*, 4> CPeriolexView::FormFields() {
    return {&m_Zeitschriftennummer, &m_Zeitschriftenname, &m_Artikelname, &m_Seite};
}

void CPeriolexView::OnUpdate(CView*, long lHint, void*) {
    m_pSet = GetDocument()->m_pRecordset;
    if (!m_pSet) {
        return;
    }
    if (lHint == kHintSetChanged) {
        FollowOtherWindow();
        return;
    }
    ShowFirstRecord();
}

void CPeriolexView::ShowNoRecord() {
    for (QString* field : FormFields()) {
        field->clear();
    }
    m_bShowsRecord = false;
    m_shownKey = COleVariant();
    m_Datensatz = QStringLiteral("Datensatz 0 von ") + m_Anzahl;
    UpdateData(false);
}

void CPeriolexView::LoadRecord() {
    // Everything is read before anything is shown: a record that cannot be read leaves the form
    // as it was.
    std::array<QString, 4> texts;
    for (int i = 0; i < 4; ++i) {
        texts[i] = QString::fromStdString(m_pSet->GetFieldValue(i + 1).GetString());
    }
    m_shownKey = m_pSet->GetBookmark();
    m_loadedTexts = texts;
    const std::array<QString*, 4> fields = FormFields();
    for (int i = 0; i < 4; ++i) {
        *fields[i] = texts[i];
    }
    m_bShowsRecord = true;
    UpdateData(false);
}

void CPeriolexView::SaveRecord() {
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
    // The shared record set may stand anywhere; the text belongs to the record this form shows.
    // A record that a query in another window left out of the set is written all the same; one
    // deleted meanwhile takes the text with it.
    if (!m_pSet->IsOpen() || !m_pSet->HasBookmark(m_shownKey)) {
        std::array<std::optional<QString>, 4> values;
        for (int i = 0; i < 4; ++i) {
            if (changed[i]) {
                values[i] = *fields[i];
            }
        }
        if (!GetDocument()->StoreRecord(m_shownKey, values)) {
            return;
        }
    } else {
        PositionOnShownRecord();
        m_pSet->Edit();
        for (int i = 0; i < 4; ++i) {
            if (changed[i]) {
                m_pSet->SetFieldValue(i + 1, fields[i]->toStdString());
            }
        }
        m_pSet->Update();
    }
    for (int i = 0; i < 4; ++i) {
        m_loadedTexts[i] = *fields[i];
    }
}

void CPeriolexView::CommitPendingInput() {
    if (m_pSet && m_bShowsRecord) {
        SaveRecord();
    }
}

void CPeriolexView::SetCaption(const QString& position) {
    m_Datensatz = QStringLiteral("Datensatz ") + position + QStringLiteral(" von ") + m_Anzahl;
}

bool CPeriolexView::SaveAndReturnToShownRecord() {
    if (!m_pSet || !m_pSet->IsOpen()) {
        return false;
    }
    SaveRecord();
    // A form without its record (deleted, left out by a query, or lost to a failure) starts
    // again from the first record of the set; an empty set keeps it empty.
    if (!m_bShowsRecord || !m_pSet->HasBookmark(m_shownKey)) {
        ShowFirstRecord();
        return false;
    }
    PositionOnShownRecord();
    return true;
}

void CPeriolexView::PositionOnShownRecord() {
    if (m_pSet->GetAbsolutePosition() < 0 || m_pSet->GetBookmark() != m_shownKey) {
        m_pSet->SetBookmark(m_shownKey);
    }
}

void CPeriolexView::ShowFirstRecord() {
    // A set that could not be opened again leaves an empty form that nothing is written from.
    m_Anzahl = QString::number(m_pSet->IsOpen() ? m_pSet->GetRecordCount() : 0);
    if (!m_pSet->IsOpen() || m_pSet->GetRecordCount() < 1) {
        ShowNoRecord();
        return;
    }
    m_pSet->MoveFirst();
    SetCaption(QStringLiteral("1"));
    LoadRecord();
}

void CPeriolexView::FollowOtherWindow() {
    if (!m_bShowsRecord || !m_pSet->IsOpen() || !m_pSet->HasBookmark(m_shownKey)) {
        // What was typed goes into the record it was typed into before the form moves on.
        SaveRecord();
        ShowFirstRecord();
        return;
    }
    // Only the caption changes; what the user typed stays in the form.
    UpdateData(true);
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    PositionOnShownRecord();
    SetCaption(QString::number(m_pSet->GetAbsolutePosition() + 1));
    UpdateData(false);
}

void CPeriolexView::TellOtherWindows(long hint) {
    GetDocument()->UpdateAllViews(this, hint, nullptr);
}

void CPeriolexView::OnDatensatzErster() {
    if (!SaveAndReturnToShownRecord()) {
        return;
    }
    m_pSet->MoveFirst();
    SetCaption(QStringLiteral("1"));
    LoadRecord();
}

void CPeriolexView::OnDatensatzLetzter() {
    if (!SaveAndReturnToShownRecord()) {
        return;
    }
    m_pSet->MoveLast();
    SetCaption(m_Anzahl);
    LoadRecord();
}

void CPeriolexView::OnDatensatzNaechster() {
    if (!SaveAndReturnToShownRecord()) {
        return;
    }
    m_pSet->MoveNext();
    const QString position = QString::number(m_pSet->GetAbsolutePosition() + 1);
    if (m_pSet->IsEOF()) {
        SetCaption(m_Anzahl);
        m_pSet->MoveLast();
    } else {
        SetCaption(position);
    }
    LoadRecord();
}

void CPeriolexView::OnDatensatzVorheriger() {
    if (!SaveAndReturnToShownRecord()) {
        return;
    }
    m_pSet->MovePrev();
    const QString position = QString::number(m_pSet->GetAbsolutePosition() + 1);
    if (m_pSet->IsBOF()) {
        SetCaption(QStringLiteral("1"));
        m_pSet->MoveFirst();
    } else {
        SetCaption(position);
    }
    LoadRecord();
}

void CPeriolexView::OnDatensatzHinzufuegen() {
    if (!m_pSet || !m_pSet->IsOpen()) {
        return;
    }
    // An empty catalogue has no record to store the form into; its first record is simply added.
    SaveRecord();
    m_pSet->AddNew();
    for (int field = 1; field <= 4; ++field) {
        m_pSet->SetFieldValue(field, " ");
    }
    m_pSet->Update();
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    SetCaption(m_Anzahl);
    m_pSet->MoveLast();
    LoadRecord();
    TellOtherWindows(kHintSetChanged);
}

void CPeriolexView::OnDatensatzLoeschen() {
    if (!m_pSet || !m_pSet->IsOpen()) {
        return;
    }
    const long n = m_pSet->GetRecordCount();
    if (n == 1) {
        AfxMessageBox(QStringLiteral("Es ist nur 1 Datensatz vorhanden"), MB_OK);
        return;
    }
    if (n < 1 || !m_bShowsRecord) {
        return;
    }
    if (MessageBox(QStringLiteral("Möchten Sie den Datensatz löschen?"), QStringLiteral("Periolex"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    // Only the record on screen is ever deleted; one that has left the set is not looked for.
    if (!m_pSet->HasBookmark(m_shownKey)) {
        ShowFirstRecord();
        return;
    }
    m_pSet->SetBookmark(m_shownKey);
    m_pSet->Delete();
    m_bShowsRecord = false;
    m_pSet->MoveLast();
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    SetCaption(QString::number(m_pSet->GetAbsolutePosition() + 1));
    LoadRecord();
    TellOtherWindows(kHintSetChanged);
}

bool CPeriolexView::ReopenSet(const QString& statement) {
    try {
        m_pSet->Close();
        m_pSet->Open(dbOpenDynaset, statement.toStdString(), 0);
        return true;
    } catch (CDaoException* e) {
        AfxReportDaoException(*e);
        e->Delete();
    }
    // Back to a state the other commands can work from: the whole table, or, if even that
    // cannot be read, a form that nothing is written from.
    try {
        if (!m_pSet->IsOpen()) {
            m_pSet->Open(dbOpenDynaset, WholeTableStatement().toStdString(), 0);
        }
    } catch (CDaoException* e) {
        e->Delete();
        AfxMessageBox(AfxLoadString(IDP_CATALOGUE_UNREADABLE).arg(GetDocument()->GetTitle()),
                      MB_OK | MB_ICONSTOP);
    }
    ShowReopenedSet();
    return false;
}

void CPeriolexView::ShowReopenedSet() {
    ShowFirstRecord();
    TellOtherWindows(kHintSetChanged);
}

void CPeriolexView::OnQuery() {
    if (!m_pSet) {
        return;
    }
    CQueryDlg dialog;
    if (dialog.DoModal() != IDOK) {
        return;
    }
    if (!ReopenSet(ArticleQueryStatement(dialog.m_strText))) {
        return;
    }
    if (m_pSet->GetRecordCount() >= 1) {
        ShowReopenedSet();
        return;
    }
    AfxMessageBox(QStringLiteral("Keine Übereinstimmungen gefunden"), MB_OK);
    OnClearQuery();
}

void CPeriolexView::OnClearQuery() {
    if (!m_pSet || !ReopenSet(WholeTableStatement())) {
        return;
    }
    ShowReopenedSet();
}
