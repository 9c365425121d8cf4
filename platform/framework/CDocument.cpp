#include "CDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cerrno>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDocTemplate.h"
#include "CMDIChildWnd.h"
#include "CView.h"
#include "CWinApp.h"
#include "ResourceLookup.h"

CDocument::~CDocument() {
    if (m_pDocTemplate) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

MESSAGE_MAP(CDocument, CCmdTarget, ON_COMMAND(ID_FILE_CLOSE, &ThisClass::OnFileClose))

bool CDocument::OnNewDocument() {
    return true;
}

void CDocument::OnFileClose() {
    if (AfxGetApp()->CommitBeforeClose([this] { return CommitAllViews(); })) {
        OnCloseDocument();
    }
}

bool CDocument::IsAddressName(const QString& pathName) {
    static const QRegularExpression keywordValue(QStringLiteral("^\\s*[A-Za-z_]+\\s*="));
    if (keywordValue.match(pathName).hasMatch()) {
        return !QFileInfo::exists(pathName);
    }
    const qsizetype colon = pathName.indexOf(QStringLiteral("://"));
    if (colon < 2) {
        return false;  // one letter before it could be a drive, not a scheme
    }
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = pathName[i];
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('+') &&
            c != QLatin1Char('-') && c != QLatin1Char('.')) {
            return false;
        }
    }
    return true;
}

namespace {

// Why the file cannot be read as a document, or an empty text. Only a regular file is opened at
// all: reading a pipe or a device could wait for ever, and opening one can have side effects.
QString WhyNotReadable(const QString& pathName) {
    const QByteArray name = QFile::encodeName(pathName);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        return AfxSystemErrorText(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return AfxSystemErrorText(EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return AfxLoadString(AFX_IDS_NOT_A_REGULAR_FILE);
    }
    // Without blocking, should a pipe have taken the file's place since.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return AfxSystemErrorText(errno);
    }
    ::close(fd);
    return {};
}

}  // namespace

bool CDocument::OnOpenDocument(const QString& pathName) {
    if (IsAddressName(pathName)) {
        return true;  // nothing to read here; the document reaches it its own way
    }
    const QString reason = WhyNotReadable(pathName);
    if (!reason.isEmpty()) {
        AfxMessageBox(AfxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC).arg(pathName, reason),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void CDocument::OnCloseDocument() {
    // Frames go first; each takes its views with it. The document then ends itself.
    const std::vector<CMDIChildWnd*> frames = GetFrames();
    for (CMDIChildWnd* frame : frames) {
        frame->DestroyFrame();
    }
    delete this;
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    UpdateFrameCounts();
}

QString CDocument::AddressTitle(const QString& pathName) const {
    return QUrl(pathName).toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
}

QString CDocument::AddressToolTip(const QString& pathName) const {
    return QUrl(pathName).toString(QUrl::RemovePassword | QUrl::RemoveQuery);
}

void CDocument::SetPathName(const QString& pathName, bool bAddToMRU) {
    if (IsAddressName(pathName)) {
        m_strPathName = pathName;
        m_strToolTip = AddressToolTip(pathName);
        SetTitle(AddressTitle(pathName));
        return;
    }
    m_strPathName = QFileInfo(pathName).absoluteFilePath();
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (bAddToMRU) {
        AfxGetApp()->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView) {
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    std::erase(m_views, pView);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, long lHint, void* pHint) {
    for (CView* view : std::vector<CView*>(m_views)) {
        if (view != pSender) {
            view->OnUpdate(pSender, lHint, pHint);
        }
    }
}

bool CDocument::CommitAllViews() {
    for (CView* view : std::vector<CView*>(m_views)) {
        if (!view->CommitPendingInput()) {
            return false;
        }
    }
    return true;
}

std::vector<CMDIChildWnd*> CDocument::GetFrames() const {
    std::vector<CMDIChildWnd*> frames;
    for (CView* view : m_views) {
        if (CMDIChildWnd* frame = view->GetParentFrame();
            frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) {
            frames.push_back(frame);
        }
    }
    return frames;
}

void CDocument::UpdateFrameCounts() {
    const std::vector<CMDIChildWnd*> frames = GetFrames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i]->SetWindowText(
            frames.size() == 1 ? m_strTitle : m_strTitle + QStringLiteral(":%1").arg(i + 1));
    }
}
