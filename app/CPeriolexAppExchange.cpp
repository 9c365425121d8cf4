// The application's import and export: CSV, RIS and BibTeX files opened like catalogues, and
// the command line's --import and --export (which take old catalogues too).
#include <AfxMessageBox.h>
#include <AfxRes.h>
#include <ExchangeError.h>
#include <ExchangeFormat.h>
#include <ResourceLookup.h>

#include <QDir>
#include <cstdio>

#include "app/CPeriolexApp.h"
#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/OldCatalogue.h"
#include "document/ImportPreviewDialog.h"
#include "document/NewCatalogueDialog.h"
#include "res/Resource.h"
#include "view/ArticleQuery.h"

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

CDocument* CPeriolexApp::OpenOtherFile(const QString& pathName) {
    if (OldCatalogue::Recognises(pathName)) {
        return TakeOverOldCatalogue(pathName);
    }
    if (!CanImport(ImportFormatOf(pathName))) {
        return CWinApp::OpenOtherFile(pathName);
    }
    try {
        CheckImportSource(pathName);
    } catch (const ExchangeError& e) {
        AfxMessageBox(e.Message(), MB_OK | MB_ICONSTOP, IDH_IMPORT);
        return nullptr;
    }
    ImportOptions options;
    {
        BeginWaitCursor();
        ImportPreviewDialog preview(pathName);
        EndWaitCursor();
        if (preview.DoModal() != IDOK) {
            return nullptr;
        }
        options.settings = preview.Settings();
    }
    return ImportIntoNewCatalogue(pathName, options, AskImportCataloguePath(pathName));
}

CDocument* CPeriolexApp::ImportIntoNewCatalogue(const QString& source, const ImportOptions& options,
                                                const QString& catalogue) {
    if (catalogue.isEmpty()) {
        return nullptr;
    }
    ImportSummary summary;
    BeginWaitCursor();
    try {
        summary = ImportRecords(source, catalogue, ImportTarget::Replace, options);
    } catch (const ExchangeError& e) {
        EndWaitCursor();
        AfxMessageBox(e.Message(), MB_OK | MB_ICONSTOP, IDH_IMPORT);
        return nullptr;
    }
    EndWaitCursor();
    CDocument* doc = OpenDocumentFile(catalogue);
    // Without a window on the catalogue its own message has said why; a summary would contradict
    // it.
    if (doc) {
        AfxMessageBox(summary.Text(catalogue), MB_OK | MB_ICONINFORMATION, IDH_IMPORT);
    }
    return doc;
}

QString CPeriolexApp::OtherFileFilter() const {
    return QStringLiteral(
        "Kataloge des Windows-Programms (*.plx;*.mdb;*.accdb)|*.plx;*.mdb;*.accdb|"
        "CSV-, RIS- und BibTeX-Dateien (*.csv;*.ris;*.bib;*.txt)|*.csv;*.ris;*.bib;*.txt|");
}

bool CPeriolexApp::TakeImportOptions(const CCommandLineInfo& info) {
    const bool any = info.m_options.contains(QStringLiteral("columns")) ||
                     info.m_options.contains(QStringLiteral("no-header")) ||
                     info.m_options.contains(QStringLiteral("keep-duplicates")) ||
                     info.m_options.contains(QStringLiteral("table"));
    if (any && info.m_nShellCommand != CCommandLineInfo::FileImport) {
        PrintLine(stderr, QStringLiteral("--columns, --no-header, --keep-duplicates und --table "
                                         "gelten nur zusammen mit --import (--table auch mit "
                                         "--copy)."));
        return false;
    }
    if (info.m_options.contains(QStringLiteral("columns"))) {
        m_importOptions.settings.columns =
            ParseColumnList(info.m_options.value(QStringLiteral("columns")));
        if (!m_importOptions.settings.columns) {
            PrintLine(stderr,
                      QStringLiteral("--columns erwartet Paare aus Spalte und Feld, etwa "
                                     "„Titel=Artikelname,Jahr=Jahr,Autor=-“; Felder sind "
                                     "Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite, "
                                     "Jahr und - (nicht übernehmen)."));
            return false;
        }
    }
    if (info.m_options.contains(QStringLiteral("no-header"))) {
        m_importOptions.settings.header = false;
    }
    m_importOptions.keepDuplicates = info.m_options.contains(QStringLiteral("keep-duplicates"));
    m_importOptions.settings.table = info.m_options.value(QStringLiteral("table"));
    return true;
}

bool CPeriolexApp::ImportFromCommandLine(const QString& source, const QString& catalogue) {
    // The old catalogue is only ever read.
    if (OldCatalogue::Recognises(catalogue)) {
        PrintLine(stderr, QStringLiteral("„%1“ ist ein Katalog des Windows-Programms; Periolex "
                                         "liest ihn nur und schreibt nie hinein. Aufruf: periolex "
                                         "--import DATEI KATALOG.plx")
                              .arg(QDir::toNativeSeparators(catalogue)));
        return false;
    }
    // Swapped arguments would otherwise turn the spreadsheet into a catalogue.
    if (ExchangeFormatOf(catalogue) != ExchangeFormat::None) {
        PrintLine(stderr, QStringLiteral("„%1“ ist kein Katalog; Aufruf: periolex --import DATEI "
                                         "KATALOG.plx")
                              .arg(QDir::toNativeSeparators(catalogue)));
        return false;
    }
    try {
        WarnOfOldCatalogueInUse(source);
        PrintLine(stdout,
                  ImportRecords(source, catalogue, ImportTarget::AppendOrCreate, m_importOptions)
                      .Text(CatalogueAddress::Resolve(catalogue).Shown()));
        return true;
    } catch (const ExchangeError& e) {
        PrintLine(stderr, e.Message());
        return false;
    }
}

bool CPeriolexApp::ExportFromCommandLine(const QString& target, const QString& catalogue,
                                         const QString* contains) {
    if (contains != nullptr && contains->size() > kSearchTextLimit) {
        PrintLine(stderr, AfxLoadString(IDP_SEARCH_TEXT_TOO_LONG).arg(kSearchTextLimit));
        return false;
    }
    const ArticleQuery query = contains ? ArticleQueryFor(*contains) : WholeTableQuery();
    try {
        const long count = ExportRecords(catalogue, query.statement, query.parameters, target);
        const QString file = QDir::toNativeSeparators(target);
        PrintLine(stdout, count == 1
                              ? QStringLiteral("1 Datensatz wurde nach „%1“ geschrieben.").arg(file)
                              : QStringLiteral("%1 Datensätze wurden nach „%2“ geschrieben.")
                                    .arg(count)
                                    .arg(file));
        return true;
    } catch (const ExchangeError& e) {
        PrintLine(stderr, e.Message());
        return false;
    }
}
