#include "CPeriolexDoc.h"

#include <AfxMessageBox.h>
#include <CDaoException.h>
#include <CWinApp.h>
#include <ResourceLookup.h>
#include <SystemDirectory.h>

#include <DaoError.h>
#include <DaoErrorCode.h>
#include <QDir>
#include <QFileInfo>

#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueFormat.h"
#include "document/NewCatalogueDialog.h"
#include "document/ServerPasswordDialog.h"
#include "res/Resource.h"

CPeriolexDoc::~CPeriolexDoc() {
    delete m_pRecordset;
}

bool CPeriolexDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) {
        return false;
    }
    QString fileTitle;
    const QString path = AskNewCataloguePath(this, &fileTitle);
    if (path.isEmpty()) {
        return false;
    }
    const QString templatePath = QDir(GetSystemDirectory()).filePath(QStringLiteral("file.dat"));
    if (!QFileInfo::exists(templatePath)) {
        AfxMessageBox(
            AfxLoadString(IDP_TEMPLATE_MISSING).arg(QDir::toNativeSeparators(templatePath)),
            MB_OK | MB_ICONSTOP);
        return false;
    }
    int reason = 0;
    if (!CopyFileTo(templatePath, path, reason)) {
        AfxMessageBox(AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                          .arg(QDir::toNativeSeparators(path), AfxSystemErrorText(reason)),
                      MB_OK | MB_ICONSTOP);
        return false;
    }
    SetTitle(fileTitle);
    return OpenDatabase(path);
}

bool CPeriolexDoc::OnOpenDocument(const QString& pathName) {
    if (!CDocument::OnOpenDocument(pathName)) {
        return false;
    }
    return OpenDatabase(pathName);
}

bool CPeriolexDoc::OpenDatabase(const QString& path) {
    m_strPath = path;
    const CatalogueAddress address = CatalogueAddress::Resolve(path);
    m_strShownPath = address.Shown();
    if (!address.GetError().isEmpty()) {
        ReportOpenFailure(address.GetError());
        return false;
    }
    if (!ConnectDatabase(address)) {
        return false;
    }
    BeginWaitCursor();
    const bool opened = OpenRecordset();
    EndWaitCursor();
    return opened;
}

bool CPeriolexDoc::ConnectDatabase(const CatalogueAddress& address) {
    // A password is asked for only when the server wants one that libpq found nowhere. A login
    // that the server refuses is asked for again, the user name open to change, a few times.
    std::string connect;
    QString user = QString::fromStdString(CDaoDatabase::ServerUser(address.GetConnection()));
    for (int attempt = 1;; ++attempt) {
        BeginWaitCursor();
        try {
            m_database.Open(address.GetConnection(), false, false, connect);
            EndWaitCursor();
            return true;
        } catch (CDaoException* e) {
            EndWaitCursor();
            const int code = e->GetErrorCode();
            const bool refused = !connect.empty() && (code & 0xFF) == DaoErrorCode::kAuth;
            if ((code != DaoErrorCode::kPasswordNeeded && !refused) ||
                attempt > kServerLoginAttempts) {
                ReportOpenFailure(address.FailureText(*e),
                                  QString::fromStdString(e->GetErrorMessage()));
                e->Delete();
                return false;
            }
            e->Delete();
        }
        // The server as the link or the command line wrote it: the user recognises it there.
        const std::optional<ServerLogin> login =
            AskServerLogin(address.ShownConnection(), user, attempt);
        if (!login) {
            return false;
        }
        user = login->user;
        connect = ";UID=" + user.toStdString() + ";PWD=" + login->password.toStdString();
    }
}

bool CPeriolexDoc::OpenRecordset() {
    if (m_strSQL.isEmpty()) {
        m_strSQL = QStringLiteral("SELECT * FROM Zeitschriften");
    }
    m_pRecordset = new CDaoRecordset(&m_database);
    try {
        m_pRecordset->Open(dbOpenDynaset, m_strSQL.toStdString(), 0);
    } catch (CDaoException* e) {
        // A statement that the engine cannot run here means the table is missing; a write
        // refused to a mere read is a missing right to read; anything else (a lock, a read
        // error) is said as it is.
        QString reason = AfxDaoErrorText(*e);
        if ((e->GetErrorCode() & 0xFF) == DaoErrorCode::kError) {
            reason = AfxLoadString(IDP_NO_ARTICLE_TABLE);
        } else if ((e->GetErrorCode() & 0xFF) == DaoErrorCode::kReadOnly) {
            reason = AfxLoadString(IDP_NO_PERMISSION);
        }
        const QString details = QString::fromStdString(e->GetErrorMessage());
        e->Delete();
        delete m_pRecordset;
        m_pRecordset = nullptr;
        m_database.Close();
        ReportOpenFailure(reason, details);
        return false;
    }
    // The form reads fields 1 to 4 by position; a table without them would fail at every
    // record, so it is refused here, naming what is missing.
    if (const QString problem = FieldProblem(); !problem.isEmpty()) {
        delete m_pRecordset;
        m_pRecordset = nullptr;
        m_database.Close();
        ReportOpenFailure(problem);
        return false;
    }
    if (!m_pRecordset->IsBOF()) {
        m_pRecordset->MoveLast();
    }
    // The views are not asked here: the framework's first update of the window follows at once
    // and shows the first record; asking both would read it twice.
    m_bConnected = true;
    return true;
}

CDaoTransaction CPeriolexDoc::BeginCommand(bool write) {
    CDaoTransaction transaction(m_database, write);
    if (m_database.CheckForChanges() == DaoChange::Changed) {
        m_bBehindElsewhere = true;
    }
    // A follow that failed is owed until one succeeds, though the file may not change again.
    if (m_bBehindElsewhere) {
        FollowChangesElsewhere();
        m_bBehindElsewhere = false;
    }
    return transaction;
}

MergeOutcome CPeriolexDoc::StoreFields(const COleVariant& key,
                                       const std::vector<FieldChange>& changes,
                                       std::vector<COleVariant>& current) {
    return m_pRecordset->StoreChanges(key, changes, current);
}

void CPeriolexDoc::AddRecord(const std::array<QString, 4>& texts) {
    m_pRecordset->AddNew();
    for (int field = 1; field <= 4; ++field) {
        m_pRecordset->SetFieldValue(field,
                                    texts[static_cast<std::size_t>(field - 1)].toStdString());
    }
    m_pRecordset->Update();
}

void CPeriolexDoc::CheckForChangesElsewhere() {
    // Not while a command runs, nor from the event loop of a dialog that a command opened.
    if (!m_bConnected || m_database.InTransaction()) {
        return;
    }
    try {
        switch (m_database.CheckForChanges()) {
            case DaoChange::Unchanged:
                break;
            case DaoChange::Changed:
                m_bBehindElsewhere = true;
                break;
            case DaoChange::Broken:
                // Said once for each break, so that the user knows before typing more; the
                // next command connects again. As a failure, so that the watcher asks no other
                // catalogue in this tick: two breaks are two messages one after the other.
                ThrowDaoError(DaoErrorCode::kConnectionLost, "The connection to the server broke.");
            case DaoChange::StillBroken:
                return;  // nothing to follow until it stands again
        }
        if (!m_bBehindElsewhere) {
            return;
        }
        // The keys and the records the windows reload come from one look at the file, as in a
        // command: a record deleted meanwhile cannot fail the reload.
        m_bFollowsUnasked = true;
        CDaoTransaction transaction = BeginCommand(false);
        m_bFollowsUnasked = false;
        transaction.Commit();
    } catch (CDaoException* e) {
        m_bFollowsUnasked = false;
        // A broken connection met while following is this break's one message; the record
        // store says no more of it.
        const int code = e->GetErrorCode();
        if (code == DaoErrorCode::kConnectionLost || code == DaoErrorCode::kCommitUnknown) {
            throw;
        }
        // Nobody asked for this update, so nobody is told of its failure (the file locked for a
        // moment, say): the next look tries again.
        e->Delete();
    }
}

int CPeriolexDoc::ChangeDescriptor() const {
    return m_bConnected ? m_database.ChangeDescriptor() : -1;
}

void CPeriolexDoc::FollowChangesElsewhere() {
    if (m_pRecordset->IsOpen()) {
        m_pRecordset->Requery();
    }
    UpdateAllViews(nullptr, kHintChangedElsewhere, nullptr);
}

QString CPeriolexDoc::FieldProblem() const {
    const int count = m_pRecordset->GetFieldCount();
    for (int i = 0; i < 4; ++i) {
        const QString wanted = QString::fromLatin1(kArticleFields[i]);
        const auto named = [&](int field) {
            return wanted.compare(QString::fromStdString(m_pRecordset->GetFieldName(field)),
                                  Qt::CaseInsensitive) == 0;
        };
        if (i + 1 < count && named(i + 1)) {
            continue;
        }
        for (int field = 0; field < count; ++field) {
            if (named(field)) {
                return AfxLoadString(IDP_ARTICLE_FIELD_MISPLACED).arg(wanted);
            }
        }
        return AfxLoadString(IDP_ARTICLE_FIELD_MISSING).arg(wanted);
    }
    return {};
}

void CPeriolexDoc::OnCloseDocument() {
    if (m_bConnected) {
        delete m_pRecordset;
        m_database.Close();
        m_bConnected = false;
        m_pRecordset = nullptr;
    }
    CDocument::OnCloseDocument();
}

QString CPeriolexDoc::AddressTitle(const QString& pathName) const {
    return CatalogueAddress::Resolve(pathName).Caption();
}

QString CPeriolexDoc::AddressToolTip(const QString& pathName) const {
    return CatalogueAddress::Resolve(pathName).Shown();
}

void CPeriolexDoc::ReportOpenFailure(const QString& reason, const QString& details) const {
    AfxMessageBoxWithDetails(
        AfxLoadString(IDP_NO_CATALOGUE).arg(QDir::toNativeSeparators(m_strShownPath), reason),
        details, MB_OK | MB_ICONEXCLAMATION);
}
