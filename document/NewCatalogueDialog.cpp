#include "NewCatalogueDialog.h"

#include <AfxMessageBox.h>
#include <CFileDialog.h>
#include <CWinApp.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QFileInfo>

#include "document/CPeriolexDoc.h"
#include "res/Resource.h"

namespace {

QString Ask(CFileDialog& dialog, const CDocument* asking, QString* fileTitle) {
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

const QString kFilter = QStringLiteral("Periolex (*.plx)|*.plx|Alle Dateien (*.*)|*.*||");

}  // namespace

QString AskNewCataloguePath(const CDocument* asking, QString* fileTitle) {
    CFileDialog dialog(false, QStringLiteral("*.plx"), QStringLiteral("*.plx"),
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, kFilter);
    dialog.SetTitle(QStringLiteral("Neue Datenbank erstellen"));
    return Ask(dialog, asking, fileTitle);
}

QString AskImportCataloguePath(const QString& source, const QString& proposal) {
    const QFileInfo info(source);
    CFileDialog dialog(false, QStringLiteral("*.plx"),
                       proposal.isEmpty() ? info.absoluteDir().filePath(info.completeBaseName() +
                                                                        QStringLiteral(".plx"))
                                          : proposal,
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, kFilter);
    dialog.SetTitle(QStringLiteral("Import: Katalog für „%1“ anlegen").arg(info.fileName()));
    dialog.SetLabels(QStringLiteral("&Katalog:"), QStringLiteral("&Importieren"));
    return Ask(dialog, nullptr, nullptr);
}
