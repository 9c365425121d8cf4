#include "NewCatalogueDialog.h"

#include <AfxMessageBox.h>
#include <CFileDialog.h>
#include <CWinApp.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QFileInfo>

#include "doc/CPeriolexDoc.h"
#include "res/Resource.h"

QString AskNewCataloguePath(const CDocument* asking, QString* fileTitle) {
    CFileDialog dialog(false, QStringLiteral("*.plx"), QStringLiteral("*.plx"),
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                       QStringLiteral("Periolex (*.plx)|*.plx|Alle Dateien (*.*)|*.*||"));
    dialog.SetTitle(QStringLiteral("Neue Datenbank erstellen"));
    if (dialog.DoModal() == IDCANCEL) {
        return {};
    }
    const QString path = dialog.GetPathName();
    for (CDocument* doc : AfxGetApp()->GetDocuments()) {
        const QString& open = static_cast<CPeriolexDoc*>(doc)->m_strPath;
        if (doc != asking && !open.isEmpty() && QFileInfo(open) == QFileInfo(path)) {
            AfxMessageBox(AfxLoadString(IDP_CATALOGUE_IS_OPEN).arg(QDir::toNativeSeparators(path)),
                          MB_OK | MB_ICONEXCLAMATION);
            return {};
        }
    }
    if (fileTitle) {
        *fileTitle = dialog.GetFileTitle();
    }
    return path;
}
