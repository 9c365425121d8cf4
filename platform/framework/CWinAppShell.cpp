// The application's side of the desktop: one running copy that takes the files of later starts,
// and the registration of the document type.
#include <ShellRegistration.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <cstdio>

#include "AfxRes.h"
#include "CDocTemplate.h"
#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "CWinApp.h"
#include "ResourceLookup.h"
#include "SingleInstance.h"

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The running copy works in another folder, so a file goes to it by its full path; an address
// (scheme://..., or keyword=value words) names no file and goes as written.
QString HandOverName(const QString& name) {
    if (CDocument::IsAddressName(name)) {
        return name;
    }
    return QFileInfo(name).absoluteFilePath();
}

}  // namespace

void CWinApp::EnableShellOpen() {
    m_pSingleInstance = std::make_unique<SingleInstance>();
    m_pSingleInstance->Listen([this](const QString& path) {
        OpenDocumentFile(path);
        if (QMainWindow* window = m_pMainWnd ? m_pMainWnd->MainWindow() : nullptr) {
            window->setWindowState((window->windowState() & ~Qt::WindowMinimized) |
                                   Qt::WindowActive);
            window->raise();
            window->activateWindow();
        }
    });
}

bool CWinApp::HandOverToRunningInstance(const QString& pathName) {
    return SingleInstance::HandOver({HandOverName(pathName)});
}

void CWinApp::RegisterShellFileTypes(bool, quint32 magic, int magicOffset) {
    if (m_templates.empty() || !m_pMainWnd) {
        return;
    }
    const CDocTemplate& t = *m_templates.front();
    QString typeId = t.GetDocString(CDocTemplate::regFileTypeId).toLower();
    typeId.replace(QLatin1Char('.'), QLatin1Char('-'));
    ShellFileType type;
    type.programName = AfxLoadString(AFX_IDS_APP_TITLE);
    type.programPath = QCoreApplication::applicationFilePath();
    type.genericName = AfxLoadString(AFX_IDS_SHELL_GENERIC_NAME);
    type.comment = AfxLoadString(AFX_IDS_SHELL_COMMENT);
    type.printLabel = AfxLoadString(AFX_IDS_SHELL_PRINT);
    type.mimeType = QStringLiteral("application/x-") + typeId;
    type.typeDescription = t.GetDocString(CDocTemplate::regFileTypeName);
    type.extension = t.GetDocString(CDocTemplate::filterExt);
    type.magic = magic;
    type.magicOffset = magicOffset;
    const QString icon = AfxIconPath(m_pMainWnd->GetResourceId());
    type.iconSvg = FileBytes(icon + QStringLiteral(".svg"));
    type.icon16 = FileBytes(icon + QStringLiteral("-16.png"));
    type.icon32 = FileBytes(icon + QStringLiteral("-32.png"));
    QString error;
    if (!RegisterShellFileType(type, error)) {
        // The program works without it; the desktop just does not know its files.
        std::fprintf(stderr, "%s\n", qPrintable(error));
    }
}

void CWinApp::UnregisterShellFileTypes() {
    ShellFileType type;
    type.programName = AfxLoadString(AFX_IDS_APP_TITLE);
    UnregisterShellFileType(type);
}
