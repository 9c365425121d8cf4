// The program's own work on large catalogues, each against raw SQLite in the same run:
// opening a catalogue against reading all keys of its table, and one step of the record form
// (store an unchanged form, move, show the next record).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include "OffscreenBenchmarks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <CMDIFrameWnd.h>
#include <ModalSeam.h>
#include "CatalogueGenerator.h"
#include "app/CPeriolexApp.h"
#include "doc/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/CPeriolexView.h"

namespace {

std::string Catalogue(long records) {
    return CachedCatalogue(records);
}

// Baseline: every key of the table, read with plain SQLite.
void BM_RawReadAllKeys(benchmark::State& state) {
    const std::string path = Catalogue(state.range(0));
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT ID FROM Zeitschriften", -1, &stmt, nullptr);
        std::int64_t sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int64(stmt, 0);
        }
        benchmark::DoNotOptimize(sum);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
}

// The catalogue document's open: database, record set, move to the last record, then what the
// first view update reads (first record, its four fields). Window creation is left out: it costs
// the same for every catalogue.
void BM_OpenCatalogue(benchmark::State& state) {
    const QString path = QString::fromStdString(Catalogue(state.range(0)));
    for (auto _ : state) {
        CPeriolexDoc doc;
        if (!doc.OpenDatabase(path)) {
            state.SkipWithError("catalogue did not open");
            break;
        }
        doc.m_pRecordset->MoveFirst();
        for (int field = 1; field <= 4; ++field) {
            benchmark::DoNotOptimize(doc.m_pRecordset->GetFieldValue(field));
        }
        delete doc.m_pRecordset;
        doc.m_pRecordset = nullptr;
        doc.m_database.Close();
    }
}

// Starts the program on `path` as from the command line; the view of its catalogue, or null.
CPeriolexView* StartProgram(CPeriolexApp& app, const QString& path) {
    app.SetArguments({QStringLiteral("--nosplash"), path});
    if (!app.InitInstance()) {
        return nullptr;
    }
    return static_cast<CPeriolexView*>(AfxGetMainFrame()->GetActiveView());
}

// One step of the form with the real view: unchanged form stored (nothing written), next record,
// record shown.
void BM_FormStep(benchmark::State& state) {
    const QString path = QString::fromStdString(Catalogue(state.range(0)));
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, path);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    const int changesBefore = sqlite3_total_changes(view->GetDocument()->m_database.Handle());
    for (auto _ : state) {
        view->SaveRecord();
        view->m_pSet->MoveNext();
        if (view->m_pSet->IsEOF()) {
            view->m_pSet->MoveFirst();
        }
        view->LoadRecord();
    }
    if (sqlite3_total_changes(view->GetDocument()->m_database.Handle()) != changesBefore) {
        state.SkipWithError("an unchanged form was written");
    }
    app.ExitInstance();
}

// One record command as the view runs it, with an unchanged form. Next steps on through the
// million records; previous, first and last stand at an end and show the same record again.
void BM_RecordCommand(benchmark::State& state) {
    const unsigned command = static_cast<unsigned>(state.range(1));
    const QString path = QString::fromStdString(Catalogue(state.range(0)));
    const QString work = path + QStringLiteral(".work");
    QFile::remove(work);
    QFile::copy(path, work);
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, work);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    for (auto _ : state) {
        view->OnCmdMsg(command, CmdAction::Execute);
    }
    app.ExitInstance();
    QFile::remove(work);
}

BENCHMARK(BM_RawReadAllKeys)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCatalogue)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordCommand)
    ->ArgNames({"records", "command"})
    ->Args({1'000'000, ID_DATENSATZ_NAECHSTER})
    ->Args({1'000'000, ID_DATENSATZ_VORHERIGER})
    ->Args({1'000'000, ID_DATENSATZ_ERSTER})
    ->Args({1'000'000, ID_DATENSATZ_LETZTER})
    ->Args({1'000'000, ID_DATENSATZ_HINZUFUEGEN})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_FormStep)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
