#include "CPeriolexDoc.h"

#include <AfxMessageBox.h>
#include <CDaoException.h>
#include <CFileDialog.h>
#include <CWinApp.h>
#include <ResourceLookup.h>
#include <SystemDirectory.h>

#include <DaoErrorCode.h>
#include <QDir>
#include <QFileInfo>

#include "doc/CatalogueLink.h"
#include "res/Resource.h"

CPeriolexDoc::~CPeriolexDoc() {
    delete m_pRecordset;
}

bool CPeriolexDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) {
        return false;
    }
    CFileDialog dialog(false, QStringLiteral("*.plx"), QStringLiteral("*.plx"),
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                       QStringLiteral("Periolex (*.plx)|*.plx|Alle Dateien (*.*)|*.*||"));
    dialog.SetTitle(QStringLiteral("Neue Datenbank erstellen"));
    if (dialog.DoModal() == IDCANCEL) {
        return false;
    }
    const QString templatePath = QDir(GetSystemDirectory()).filePath(QStringLiteral("file.dat"));
    const QString path = dialog.GetPathName();
    if (!QFileInfo::exists(templatePath)) {
        AfxMessageBox(
            AfxLoadString(IDP_TEMPLATE_MISSING).arg(QDir::toNativeSeparators(templatePath)),
            MB_OK | MB_ICONSTOP);
        return false;
    }
    // A catalogue that is open here is not replaced under its own windows.
    for (CDocument* doc : AfxGetApp()->GetDocuments()) {
        const QString& open = static_cast<CPeriolexDoc*>(doc)->m_strPath;
        if (doc != this && !open.isEmpty() && QFileInfo(open) == QFileInfo(path)) {
            AfxMessageBox(AfxLoadString(IDP_CATALOGUE_IS_OPEN).arg(QDir::toNativeSeparators(path)),
                          MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    int reason = 0;
    if (!CopyFileTo(templatePath, path, reason)) {
        AfxMessageBox(AfxLoadString(IDP_TEMPLATE_COPY_FAILED)
                          .arg(QDir::toNativeSeparators(path), AfxSystemErrorText(reason)),
                      MB_OK | MB_ICONSTOP);
        return false;
    }
    SetTitle(dialog.GetFileTitle());
    return OpenDatabase(path);
}

bool CPeriolexDoc::OnOpenDocument(const QString& pathName) {
    if (!CDocument::OnOpenDocument(pathName)) {
        return false;
    }
    return OpenDatabase(pathName);
}

namespace {

// A server's refusal names the server; other failures say what the record store found.
QString OpenFailureText(const CDaoException& e, const QString& target) {
    if (!CDaoDatabase::IsServerPath(target.toStdString())) {
        return AfxDaoErrorText(e);
    }
    const QString server = QString::fromStdString(CDaoDatabase::ServerName(target.toStdString()));
    switch (e.GetErrorCode() & 0xFF) {
        case DaoErrorCode::kAuth:
            return AfxLoadString(IDP_SERVER_LOGIN_FAILED).arg(server);
        case DaoErrorCode::kCantOpen:
        case DaoErrorCode::kIoError:
            return AfxLoadString(IDP_SERVER_UNREACHABLE).arg(server);
        default:
            return AfxDaoErrorText(e);
    }
}

}  // namespace

QString CPeriolexDoc::ResolveTarget(const QString& path) const {
    if (CDaoDatabase::IsServerPath(path.toStdString())) {
        return path;
    }
    const CatalogueLink link = CatalogueLink::Read(path);
    switch (link.GetKind()) {
        case CatalogueLink::Kind::NotALink:
            return path;
        case CatalogueLink::Kind::Server:
            return link.GetConnection();
        case CatalogueLink::Kind::NoServer:
            ReportOpenFailure(AfxLoadString(IDP_LINK_WITHOUT_SERVER));
            return QString();
        case CatalogueLink::Kind::HasPassword:
            ReportOpenFailure(AfxLoadString(IDP_LINK_WITH_PASSWORD));
            return QString();
    }
    return QString();
}

bool CPeriolexDoc::OpenDatabase(const QString& path) {
    m_strPath = path;
    const QString target = ResolveTarget(path);
    if (target.isEmpty()) {
        return false;
    }
    BeginWaitCursor();
    try {
        m_database.Open(target.toStdString(), false, false, "");
    } catch (CDaoException* e) {
        EndWaitCursor();
        ReportOpenFailure(OpenFailureText(*e, target));
        e->Delete();
        return false;
    }
    const bool opened = OpenRecordset();
    EndWaitCursor();
    return opened;
}

bool CPeriolexDoc::OpenRecordset() {
    if (m_strSQL.isEmpty()) {
        m_strSQL = QStringLiteral("SELECT * FROM Zeitschriften");
    }
    m_pRecordset = new CDaoRecordset(&m_database);
    try {
        m_pRecordset->Open(dbOpenDynaset, m_strSQL.toStdString(), 0);
    } catch (CDaoException* e) {
        // A statement that the engine cannot run here means the table is missing; anything
        // else (a lock, a read error) is said as it is.
        const QString reason = (e->GetErrorCode() & 0xFF) == DaoErrorCode::kError
                                   ? AfxLoadString(IDP_NO_ARTICLE_TABLE)
                                   : AfxDaoErrorText(*e);
        e->Delete();
        delete m_pRecordset;
        m_pRecordset = nullptr;
        m_database.Close();
        ReportOpenFailure(reason);
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
    if (m_database.HasChangedElsewhere()) {
        FollowChangesElsewhere();
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
    if (m_database.HasChangedElsewhere()) {
        FollowChangesElsewhere();
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

void CPeriolexDoc::OnCloseDocument() {
    if (m_bConnected) {
        delete m_pRecordset;
        m_database.Close();
        m_bConnected = false;
        m_pRecordset = nullptr;
    }
    CDocument::OnCloseDocument();
}

void CPeriolexDoc::ReportOpenFailure(const QString& reason) const {
    AfxMessageBox(AfxLoadString(IDP_NO_CATALOGUE).arg(QDir::toNativeSeparators(m_strPath), reason),
                  MB_OK | MB_ICONEXCLAMATION);
}
