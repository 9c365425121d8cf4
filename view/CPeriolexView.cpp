#include "CPeriolexView.h"

#include <AfxMessageBox.h>
#include <CDaoException.h>
#include <CDaoRecordset.h>
#include <CDaoTransaction.h>
#include <CDataExchange.h>
#include <CMDIFrameWnd.h>
#include <CWinApp.h>
#include <DaoErrorCode.h>
#include <ResourceLookup.h>

#include <QScopedValueRollback>
#include <QStringList>
#include <QTimer>

#include "catalogue/CatalogueFormat.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/ArticleQuery.h"
#include "view/CConflictDlg.h"
#include "view/CQueryDlg.h"

namespace {

constexpr int kCaptionLimit = 127;

// Whether a stored value is the given text; NULL is only ever NULL.
bool SameValue(const COleVariant& stored, const std::optional<std::string>& text) {
    return stored.IsNull() ? !text.has_value() : text.has_value() && stored.GetString() == *text;
}

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
    if (lHint == kHintSetChanged || lHint == CPeriolexDoc::kHintChangedElsewhere) {
        FollowSetChange(lHint == CPeriolexDoc::kHintChangedElsewhere);
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
    SetCaption(QStringLiteral("0"));
    UpdateData(false);
}

void CPeriolexView::LoadRecord() {
    // Everything is read before anything is shown: a record that cannot be read leaves the form
    // as it was.
    std::array<COleVariant, 4> values;
    for (int i = 0; i < 4; ++i) {
        values[i] = m_pSet->GetFieldValue(i + 1);
    }
    m_shownKey = m_pSet->GetBookmark();
    m_loadedValues = values;
    const std::array<QString*, 4> fields = FormFields();
    for (int i = 0; i < 4; ++i) {
        m_loadedTexts[i] = QString::fromStdString(values[i].GetString());
        *fields[i] = m_loadedTexts[i];
    }
    m_bShowsRecord = true;
    UpdateData(false);
}

std::vector<FieldChange> CPeriolexView::FormChanges() {
    std::vector<FieldChange> changes;
    if (!m_bShowsRecord) {
        return changes;
    }
    const std::array<QString*, 4> fields = FormFields();
    for (int i = 0; i < 4; ++i) {
        if (*fields[i] != m_loadedTexts[i]) {
            const COleVariant& loaded = m_loadedValues[i];
            changes.push_back(
                {i + 1,
                 loaded.IsNull() ? std::nullopt : std::optional<std::string>(loaded.GetString()),
                 fields[i]->toStdString()});
        }
    }
    return changes;
}

bool CPeriolexView::SaveRecord() {
    return StoreFormThen({});
}

bool CPeriolexView::StoreFormThen(const std::function<void()>& then, bool alwaysWrite) {
    UpdateData(true);
    if (!m_pSet || !m_pSet->IsOpen()) {
        return false;
    }
    const QScopedValueRollback storing(m_bStoring, true);
    bool storeAsNew = false;
    bool followed = false;
    for (;;) {
        const std::vector<FieldChange> changes = FormChanges();
        // An unchanged form costs nothing: no write lock, no statement, no disk write.
        CDaoTransaction transaction =
            GetDocument()->BeginCommand(alwaysWrite || storeAsNew || !changes.empty());
        // The document may have followed others' changes just now; what was typed stays.
        const std::vector<FieldChange> typed = storeAsNew ? changes : FormChanges();
        if (storeAsNew) {
            StoreFormAsNewRecord();
        } else if (!typed.empty()) {
            std::vector<COleVariant> current;
            const MergeOutcome outcome = GetDocument()->StoreFields(m_shownKey, typed, current);
            if (outcome != MergeOutcome::Stored) {
                transaction.Rollback();
                // Nobody asked for this store: the question waits for the user's next command,
                // so that no key typed for the form can answer it.
                if (m_bStoringUnasked) {
                    AnnounceQuestion(outcome);
                    return false;
                }
                const bool settled = outcome == MergeOutcome::Conflict
                                         ? SettleConflict(typed, current)
                                         : SettleDeletedRecord(storeAsNew);
                if (!settled) {
                    return false;
                }
                continue;
            }
        }
        // A failure from here on undoes the store and the move alike: the form then goes back
        // to what the user saw, typed text included, and is stored again next time.
        const FormState before = CaptureForm();
        for (const FieldChange& change : typed) {
            const auto i = static_cast<std::size_t>(change.field - 1);
            m_loadedTexts[i] = *FormFields()[i];
            m_loadedValues[i] = COleVariant(*change.value);
        }
        try {
            if (then) {
                then();
            }
            transaction.Commit();
        } catch (CDaoException* e) {
            RestoreForm(before);
            // A record that another program deleted before the news of it arrived (a server
            // sends it just after the deletion shows): the command runs once more, after the
            // set has followed.
            if (e->GetErrorCode() != DaoErrorCode::kNotFound || followed) {
                throw;
            }
            e->Delete();
            transaction.Rollback();
            GetDocument()->FollowAtNextCommand();
            followed = true;
            continue;
        }
        if (!typed.empty()) {
            TellOtherWindows(CPeriolexDoc::kHintChangedElsewhere);
        }
        return true;
    }
}

CPeriolexView::FormState CPeriolexView::CaptureForm() {
    FormState state{m_bShowsRecord, m_shownKey,    m_strShownPosition, m_Anzahl, {},
                    m_loadedTexts,  m_loadedValues};
    const std::array<QString*, 4> fields = FormFields();
    for (std::size_t i = 0; i < 4; ++i) {
        state.texts[i] = *fields[i];
    }
    return state;
}

void CPeriolexView::RestoreForm(const FormState& state) {
    m_bShowsRecord = state.showsRecord;
    m_shownKey = state.key;
    m_Anzahl = state.count;
    SetCaption(state.position);
    m_loadedTexts = state.loadedTexts;
    m_loadedValues = state.loadedValues;
    const std::array<QString*, 4> fields = FormFields();
    for (std::size_t i = 0; i < 4; ++i) {
        *fields[i] = state.texts[i];
    }
    UpdateData(false);
}

bool CPeriolexView::SettleConflict(const std::vector<FieldChange>& changes,
                                   const std::vector<COleVariant>& current) {
    std::vector<ConflictField> conflicts;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const FieldChange& change = changes[k];
        const auto i = static_cast<std::size_t>(change.field - 1);
        const QString stored = QString::fromStdString(current[k].GetString());
        if (SameValue(current[k], change.value) || SameValue(current[k], change.loaded)) {
            continue;
        }
        conflicts.push_back({i, *FormFields()[i], stored, current[k]});
    }
    CConflictDlg dialog(RecordName(), conflicts);
    switch (dialog.DoModal()) {
        case IDYES:
            // The next try compares with what is stored now and so overwrites it.
            for (const ConflictField& conflict : conflicts) {
                m_loadedValues[conflict.field] = conflict.storedValue;
            }
            return true;
        case IDNO:
            for (const ConflictField& conflict : conflicts) {
                *FormFields()[conflict.field] = conflict.stored;
                m_loadedTexts[conflict.field] = conflict.stored;
                m_loadedValues[conflict.field] = conflict.storedValue;
            }
            UpdateData(false);
            return true;
        default:
            return false;
    }
}

bool CPeriolexView::SettleDeletedRecord(bool& storeAsNew) {
    const int answer = AfxMessageBox(
        QStringLiteral("Der Datensatz, in den Sie geschrieben haben, wurde inzwischen von einem "
                       "anderen Programm oder Benutzer gelöscht. Ihre Eingaben:\n\n%1\n\n"
                       "Möchten Sie Ihre Eingaben als neuen Datensatz speichern? Mit „Nein“ "
                       "werden sie verworfen.")
            .arg(TypedTexts()),
        MB_YESNO | MB_ICONQUESTION, IDH_DELETED_ELSEWHERE);
    if (answer == IDYES) {
        storeAsNew = true;
    } else {
        // The typed texts go with the record; the command goes on from the first record.
        m_bShowsRecord = false;
    }
    return true;
}

void CPeriolexView::StoreFormAsNewRecord() {
    std::array<QString, 4> texts;
    const std::array<QString*, 4> fields = FormFields();
    for (std::size_t i = 0; i < 4; ++i) {
        texts[i] = *fields[i];
    }
    GetDocument()->AddRecord(texts);
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    m_pSet->MoveLast();
    SetCaption(m_Anzahl);
    LoadRecord();
}

void CPeriolexView::AnnounceQuestion(MergeOutcome outcome) {
    if (CMDIFrameWnd* frame = AfxGetMainFrame()) {
        frame->SetMessageText(
            outcome == MergeOutcome::Conflict
                ? QStringLiteral("Ein anderes Programm oder ein anderer Benutzer hat diesen "
                                 "Datensatz geändert. Beim nächsten Befehl wählen Sie, welche "
                                 "Texte gelten.")
                : QStringLiteral("Ein anderes Programm oder ein anderer Benutzer hat diesen "
                                 "Datensatz gelöscht. Ihre Eingaben bleiben stehen; beim "
                                 "nächsten Befehl können Sie sie als neuen Datensatz speichern."));
    }
}

QString CPeriolexView::TypedTexts() {
    QStringList lines;
    const std::array<QString*, 4> fields = FormFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        lines << QStringLiteral("%1: „%2“").arg(QLatin1String(kArticleFields[i]), *fields[i]);
    }
    return lines.join(QLatin1Char('\n'));
}

QString CPeriolexView::RecordName() const {
    return QStringLiteral("%1 („%2“, „%3“)")
        .arg(m_Datensatz, m_loadedTexts[1].trimmed(), m_loadedTexts[2].trimmed());
}

bool CPeriolexView::CommitPendingInput() {
    if (m_pSet && m_bShowsRecord) {
        return SaveRecord();
    }
    return true;
}

void CPeriolexView::SetCaption(const QString& position) {
    m_strShownPosition = position;
    m_Datensatz = QStringLiteral("Datensatz ") + position + QStringLiteral(" von ") + m_Anzahl;
}

bool CPeriolexView::ReturnToShownRecord() {
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

void CPeriolexView::FollowSetChange(bool reloadUnchanged) {
    if (!m_bShowsRecord || !m_pSet->IsOpen()) {
        ShowFirstRecord();
        return;
    }
    UpdateData(true);
    const bool typed = !FormChanges().empty();
    m_Anzahl = QString::number(m_pSet->GetRecordCount());
    if (!m_pSet->HasBookmark(m_shownKey)) {
        if (!typed) {
            ShowFirstRecord();
            return;
        }
        // The typed text belongs to a record that left the set, deleted or left out by a query.
        // It is stored, or the user asked about it, once the command that got here is over:
        // never inside another command's transaction.
        SetCaption(m_strShownPosition);
        ShowCaption();
        const bool unasked = GetDocument()->FollowsUnasked();
        QTimer::singleShot(0, &m_postedWork,
                           [this, unasked] { StoreRecordThatLeftTheSet(unasked); });
        return;
    }
    PositionOnShownRecord();
    SetCaption(QString::number(m_pSet->GetAbsolutePosition() + 1));
    if (reloadUnchanged && !typed) {
        LoadRecord();
    } else {
        ShowCaption();
    }
}

void CPeriolexView::ShowCaption() {
    // The fields are not written again: the user may be typing, and the cursor, the selection
    // and the undo steps of the field stay as they are.
    CDataExchange dx(this, false);
    DDX_Text(&dx, IDC_DATENSATZ, m_Datensatz);
}

void CPeriolexView::StoreRecordThatLeftTheSet(bool unasked) {
    // A store that is running settles the record itself: the question it asks runs the events
    // that brought this here, and a second store would ask again and add the record twice.
    if (m_bStoring || !m_pSet || !m_pSet->IsOpen() || !m_bShowsRecord ||
        m_pSet->HasBookmark(m_shownKey)) {
        return;
    }
    m_bStoringUnasked = unasked;
    AfxGetApp()->RunGuarded([this] { StoreFormThen([this] { ReturnToShownRecord(); }); });
    m_bStoringUnasked = false;
}

void CPeriolexView::TellOtherWindows(long hint) {
    GetDocument()->UpdateAllViews(this, hint, nullptr);
}

void CPeriolexView::OnDatensatzErster() {
    StoreFormThen([this] {
        if (!ReturnToShownRecord()) {
            return;
        }
        m_pSet->MoveFirst();
        SetCaption(QStringLiteral("1"));
        LoadRecord();
    });
}

void CPeriolexView::OnDatensatzLetzter() {
    StoreFormThen([this] {
        if (!ReturnToShownRecord()) {
            return;
        }
        m_pSet->MoveLast();
        SetCaption(m_Anzahl);
        LoadRecord();
    });
}

void CPeriolexView::OnDatensatzNaechster() {
    StoreFormThen([this] {
        if (!ReturnToShownRecord()) {
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
    });
}

void CPeriolexView::OnDatensatzVorheriger() {
    StoreFormThen([this] {
        if (!ReturnToShownRecord()) {
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
    });
}

void CPeriolexView::OnDatensatzHinzufuegen() {
    // An empty catalogue has no record to store the form into; its first record is simply added.
    const bool added = StoreFormThen(
        [this] {
            m_pSet->AddNew();
            for (int field = 1; field <= 4; ++field) {
                m_pSet->SetFieldValue(field, " ");
            }
            m_pSet->Update();
            m_Anzahl = QString::number(m_pSet->GetRecordCount());
            SetCaption(m_Anzahl);
            m_pSet->MoveLast();
            LoadRecord();
        },
        true);
    if (added) {
        TellOtherWindows(kHintSetChanged);
    }
}

void CPeriolexView::OnDatensatzLoeschen() {
    if (!m_pSet || !m_pSet->IsOpen()) {
        return;
    }
    long n = 0;
    {
        // Others' adds and deletes count as well.
        CDaoTransaction transaction = GetDocument()->BeginCommand(false);
        n = m_pSet->GetRecordCount();
        transaction.Commit();
    }
    if (n == 1) {
        AfxMessageBox(QStringLiteral("Es ist nur 1 Datensatz vorhanden"), MB_OK);
        return;
    }
    if (n < 1 || !m_bShowsRecord) {
        return;
    }
    // Taking in others' changes below may move the form to another record; only the record the
    // user was asked about may go.
    const COleVariant asked = m_shownKey;
    if (MessageBox(QStringLiteral("Möchten Sie den Datensatz löschen?"), QStringLiteral("Periolex"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    CDaoTransaction transaction = GetDocument()->BeginCommand(true);
    // A record that has left the set meanwhile is not looked for. Another program may have
    // deleted the others while the question was open: the last record stays all the same.
    if (!m_pSet->HasBookmark(asked) || m_pSet->GetRecordCount() < 2) {
        transaction.Commit();
        if (m_pSet->GetRecordCount() == 1) {
            AfxMessageBox(QStringLiteral("Es ist nur 1 Datensatz vorhanden"), MB_OK);
        }
        ShowFirstRecord();
        return;
    }
    // A failure undoes the delete: the form goes back to the record that is still there.
    const FormState before = CaptureForm();
    try {
        m_pSet->SetBookmark(asked);
        m_pSet->Delete();
        m_bShowsRecord = false;
        m_pSet->MoveLast();
        m_Anzahl = QString::number(m_pSet->GetRecordCount());
        SetCaption(QString::number(m_pSet->GetAbsolutePosition() + 1));
        LoadRecord();
        transaction.Commit();
    } catch (CDaoException*) {
        RestoreForm(before);
        throw;
    }
    TellOtherWindows(kHintSetChanged);
}

bool CPeriolexView::ReopenSet(const ArticleQuery& query) {
    try {
        if (m_pSet->IsOpen()) {
            m_pSet->Reopen(query.statement, query.parameters);
        } else {
            m_pSet->Open(dbOpenDynaset, query.statement, 0, query.parameters);
        }
        return true;
    } catch (CDaoException* e) {
        AfxReportDaoException(*e);
        e->Delete();
    }
    // A search that failed (the server ended it at its deadline, the user cancelled it, the
    // connection broke) leaves the set and the form as they were.
    if (m_pSet->IsOpen()) {
        return false;
    }
    // Back to a state the other commands can work from: the whole table, or, if even that
    // cannot be read, a form that nothing is written from.
    try {
        const ArticleQuery whole = WholeTableQuery();
        m_pSet->Open(dbOpenDynaset, whole.statement, 0, whole.parameters);
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
    if (!ReopenSet(ArticleQueryFor(dialog.m_strText))) {
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
    if (!m_pSet || !ReopenSet(WholeTableQuery())) {
        return;
    }
    ShowReopenedSet();
}
