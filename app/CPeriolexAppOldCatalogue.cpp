// The application's take-over of catalogues of the Windows program: wherever a catalogue is
// opened, an old one is read into a new catalogue of Periolex after one question.
#include <AfxMessageBox.h>
#include <AfxRes.h>
#include <ExchangeError.h>
#include <TableChoiceError.h>

#include <QDir>
#include <cstdio>

#include "app/CPeriolexApp.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/OldCatalogue.h"
#include "document/NewCatalogueDialog.h"
#include "document/TableChoiceDialog.h"

namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

bool CPeriolexApp::IsOtherFile(const QString& pathName) const {
    return OldCatalogue::Recognises(pathName);
}

CDocument* CPeriolexApp::TakeOverOldCatalogue(const QString& pathName) {
    // A file that cannot be read is said before anything is asked.
    QStringList tables;
    try {
        CheckImportSource(pathName);
    } catch (const TableChoiceError& e) {
        tables = e.Tables();
    } catch (const ExchangeError& e) {
        AfxMessageBox(e.Message(), MB_OK | MB_ICONSTOP);
        return nullptr;
    }
    QString question = QStringLiteral(
                           "„%1“ ist ein Katalog des Windows-Programms (%2).\n\nPeriolex übernimmt "
                           "seine Datensätze in einen neuen Katalog, den Sie als Nächstes anlegen. "
                           "Die alte Datei bleibt dabei genau so, wie sie ist.")
                           .arg(Native(pathName), OldCatalogue::FormatName(pathName));
    const QString inUse = OldCatalogue::InUseWarning(pathName);
    if (!inUse.isEmpty()) {
        question +=
            QStringLiteral("\n\n") + inUse + QStringLiteral(" Schließen Sie es am besten vorher.");
    }
    question += QStringLiteral("\n\nDatensätze übernehmen?");
    // While the old program may still write, No is the answer that Enter gives.
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION |
                                    (inUse.isEmpty() ? 0 : MB_DEFBUTTON2)) != IDYES) {
        return nullptr;
    }
    ImportOptions options;
    if (!tables.isEmpty()) {
        options.settings.table = AskTableChoice(pathName, tables);
        if (options.settings.table.isEmpty()) {
            return nullptr;
        }
    }
    return ImportIntoNewCatalogue(
        pathName, options,
        AskImportCataloguePath(pathName, OldCatalogue::ProposedCataloguePath(pathName)));
}

void CPeriolexApp::WarnOfOldCatalogueInUse(const QString& source) {
    if (!OldCatalogue::Recognises(source)) {
        return;
    }
    if (const QString warning = OldCatalogue::InUseWarning(source); !warning.isEmpty()) {
        std::fprintf(stderr, "Warnung: %s\n", warning.toLocal8Bit().constData());
    }
}
