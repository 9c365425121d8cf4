#include "NewCatalogueDialog.h"

#include <AfxMessageBox.h>
#include <CFileDialog.h>
#include <CWinApp.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QFileInfo>

#include "document/CPeriolexDoc.h"
#include "res/Resource.h"

QString AskNewCataloguePath(const CDocument* asking, QString* fileTitle, const QString& proposal) {
    CFileDialog dialog(false, QStringLiteral("*.plx"),
                       proposal.isEmpty() ? QStringLiteral("*.plx") : proposal,
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                       QStringLiteral("Periolex (*.plx)|*.plx|Alle Dateien (*.*)|*.*||"));
    dialog.SetTitle(QStringLiteral("Neue Datenbank erstellen"));
    if (dialog.DoModal() == IDCANCEL) {
        return {};
    }
    QString path = dialog.GetPathName();
    // Only a .plx file is opened as a catalogue; any other name would come back to the import.
    if (QFileInfo(path).suffix().compare(QStringLiteral("plx"), Qt::CaseInsensitive) != 0) {
        path += QStringLiteral(".plx");
        // The dialog asked about the name as typed, not about this one.
        if (QFileInfo::exists(path) &&
            AfxMessageBox(AfxLoadString(IDP_REPLACE_FILE).arg(QDir::toNativeSeparators(path)),
                          MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            return {};
        }
    }
    for (CDocument* doc : AfxGetApp()->GetDocuments()) {
        const QString& open = static_cast<CPeriolexDoc*>(doc)->m_strPath;
        if (doc != asking && !open.isEmpty() && QFileInfo(open) == QFileInfo(path)) {
            AfxMessageBox(AfxLoadString(IDP_CATALOGUE_IS_OPEN).arg(QDir::toNativeSeparators(path)),
                          MB_OK | MB_ICONEXCLAMATION);
            return {};
        }
    }
    if (fileTitle) {
        *fileTitle = QFileInfo(path).fileName();
    }
    return path;
}
