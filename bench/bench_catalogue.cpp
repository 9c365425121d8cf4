// The program's own work on large catalogues, each against raw SQLite in the same run:
// opening a catalogue against reading all keys of its table, and one step of the record form
// (store an unchanged form, move, show the next record).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include "OffscreenBenchmarks.h"
#include "SqliteHandleOf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include <CMDIFrameWnd.h>
#include <ModalSeam.h>
#include "CatalogueGenerator.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
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

// Baseline for a step: one record read by its key with plain SQLite, its four fields as text.
void BM_RawReadOneRecord(benchmark::State& state) {
    const std::string path = Catalogue(state.range(0));
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Zeitschriften WHERE ID = ?", -1, &stmt, nullptr);
    std::int64_t key = 0;
    for (auto _ : state) {
        key = key % state.range(0) + 1;
        sqlite3_bind_int64(stmt, 1, key);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int column = 1; column <= 4; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, column));
            }
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

// Baseline for the live check: one PRAGMA data_version with plain SQLite.
void BM_RawDataVersion(benchmark::State& state) {
    const std::string path = Catalogue(state.range(0));
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &stmt, nullptr);
    for (auto _ : state) {
        sqlite3_step(stmt);
        benchmark::DoNotOptimize(sqlite3_column_int64(stmt, 0));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

// Starts the program on `path` as from the command line; the view of its catalogue, or null.
CPeriolexView* StartProgram(CPeriolexApp& app, const QString& path) {
    app.SetArguments({QStringLiteral("--nosplash"), path});
    if (!app.InitInstance()) {
        return nullptr;
    }
    return static_cast<CPeriolexView*>(AfxGetMainFrame()->GetActiveView());
}

// One step of the form with the real view, in one transaction as a command takes it: unchanged
// form stored (nothing written), next record, record shown.
void BM_FormStep(benchmark::State& state) {
    const QString path = QString::fromStdString(Catalogue(state.range(0)));
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, path);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    const int changesBefore =
        sqlite3_total_changes(SqliteHandleOf(view->GetDocument()->m_database));
    for (auto _ : state) {
        CDaoTransaction command = view->GetDocument()->BeginCommand(false);
        view->SaveRecord();
        view->m_pSet->MoveNext();
        if (view->m_pSet->IsEOF()) {
            view->m_pSet->MoveFirst();
        }
        view->LoadRecord();
        command.Commit();
    }
    if (sqlite3_total_changes(SqliteHandleOf(view->GetDocument()->m_database)) != changesBefore) {
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

// A working copy of the cached catalogue, for benchmarks that write.
QString WorkingCopy(long records) {
    const QString path = QString::fromStdString(Catalogue(records));
    const QString work = path + QStringLiteral(".work");
    QFile::remove(work);
    QFile::copy(path, work);
    return work;
}

// What an idle program pays a few times a second: has anyone else changed the catalogue?
void BM_LiveCheck(benchmark::State& state) {
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, QString::fromStdString(Catalogue(state.range(0))));
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    for (auto _ : state) {
        view->GetDocument()->CheckForChangesElsewhere();
    }
    app.ExitInstance();
}

// Before each measured round another program changes the catalogue with `change`; the window
// then follows. `followed` tells afterwards whether it shows the last change.
void MeasureLiveUpdate(benchmark::State& state, const std::function<void(sqlite3*, long)>& change,
                       const std::function<bool(CPeriolexView*, long)>& followed) {
    const QString work = WorkingCopy(state.range(0));
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, work);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    sqlite3* other = nullptr;
    sqlite3_open_v2(work.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
    long round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        change(other, ++round);
        state.ResumeTiming();
        view->GetDocument()->CheckForChangesElsewhere();
    }
    if (!followed(view, round)) {
        state.SkipWithError("the window did not follow");
    }
    sqlite3_close(other);
    app.ExitInstance();
    QFile::remove(work);
}

// Another program changes the shown record; the window follows (keys read again, record shown
// anew with its count and position).
void BM_LiveUpdate(benchmark::State& state) {
    MeasureLiveUpdate(
        state,
        [](sqlite3* other, long round) {
            const std::string sql =
                "UPDATE Zeitschriften SET Seite = '" + std::to_string(round) + "' WHERE ID = 1";
            sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr);
        },
        [](CPeriolexView* view, long round) { return view->m_Seite == QString::number(round); });
}

// Another program deletes a record (and adds one, so that the catalogue keeps its size); the
// window follows. A deletion cannot be told from the new keys alone: every key is read again.
void BM_LiveUpdateAfterDelete(benchmark::State& state) {
    const long records = state.range(0);
    MeasureLiveUpdate(
        state,
        [](sqlite3* other, long) {
            sqlite3_exec(other,
                         "DELETE FROM Zeitschriften WHERE ID = (SELECT min(ID) FROM Zeitschriften "
                         "WHERE ID > 1); INSERT INTO Zeitschriften (Artikelname) VALUES ('neu')",
                         nullptr, nullptr, nullptr);
        },
        [records](CPeriolexView* view, long) { return view->m_pSet->GetRecordCount() == records; });
}

// "Nächster" with one field changed: the store of that field (checked against what the form
// loaded), the move and the next record, in one write transaction.
void BM_SaveAndStep(benchmark::State& state) {
    const QString work = WorkingCopy(state.range(0));
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, work);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    auto* field = qobject_cast<QLineEdit*>(view->GetDlgItem(IDC_SEITE));
    long counter = 0;
    for (auto _ : state) {
        field->setText(QString::number(++counter));
        view->OnCmdMsg(ID_DATENSATZ_NAECHSTER, CmdAction::Execute);
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
BENCHMARK(BM_RawReadOneRecord)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_RawDataVersion)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiveCheck)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiveUpdate)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LiveUpdateAfterDelete)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SaveAndStep)
    ->Arg(1'000'000)
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
