// The program's own work on large catalogues, each against plain SQLite doing the same work in
// the same run, in turn round after round: opening a catalogue against keeping all keys of its
// table and reading a row, one step of the record form against reading one row; the peak
// memory of opening, each side in a process of its own; and how fast a window follows another
// program's changes. Catalogues of ten million records are made once under the build's
// bench-data folder and kept.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
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
#include "InTurn.h"
#include "PlainSqlite.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "view/CPeriolexView.h"

namespace {

std::string Catalogue(long records) {
    return CachedCatalogue(records);
}

// The catalogue document's open: database, record set, move to the last record, then what the
// first view update reads (first record, its four fields). Window creation is left out: it costs
// the same for every catalogue.
void OpenDocument(const QString& path) {
    CPeriolexDoc doc;
    if (!doc.OpenDatabase(path)) {
        throw std::runtime_error("catalogue did not open");
    }
    doc.m_pRecordset->MoveFirst();
    for (int field = 1; field <= 4; ++field) {
        benchmark::DoNotOptimize(doc.m_pRecordset->GetFieldValue(field));
    }
    delete doc.m_pRecordset;
    doc.m_pRecordset = nullptr;
    doc.m_database.Close();
}

void PlainOpen(const std::string& path) {
    sqlite3* db = OpenPlainLikeTheStore(path);
    benchmark::DoNotOptimize(PlainOpenWork(db, "SELECT ID FROM Zeitschriften"));
    sqlite3_close_v2(db);
}

constexpr const char* kPlainOpen =
    "SQLite keeps every key in a vector and reads the first row (same flags, mapping, "
    "transaction)";

void BM_OpenCatalogue(benchmark::State& state) {
    const std::string path = Catalogue(state.range(0));
    const QString document = QString::fromStdString(path);
    OpenDocument(document);  // a writable catalogue gets its change log at the first opening
    MeasureInTurn(
        state, kPlainOpen, [&] { PlainOpen(path); }, [&] { OpenDocument(document); });
}

// The peak memory of opening, each side in a fresh process of its own (this program started
// again with --peak-open or --peak-plain), so that nothing measured before counts.
double ChildPeakMegabytes(const char* option, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "bench_catalogue", option, path.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error(std::string("the child for ") + option + " failed");
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PeakMemoryOfOpening(benchmark::State& state) {
    const std::string path = Catalogue(state.range(0));
    double program = 0;
    double plain = 0;
    for (auto _ : state) {
        plain = ChildPeakMegabytes("--peak-plain", path);
        program = ChildPeakMegabytes("--peak-open", path);
    }
    state.counters["peak_MB"] = program;
    state.counters["base_peak_MB"] = plain;
    state.counters["x_peak"] = program / plain;
    state.SetLabel(std::string("baseline: ") + kPlainOpen + ", alone in a process");
}

// A step with plain SQLite as the store takes it: a read transaction, the look for others'
// changes, the next record read by its key, its four fields as text.
class PlainStep {
public:
    PlainStep(const std::string& path, long records)
        : m_db(OpenPlainLikeTheStore(path)), m_records(records) {
        for (auto [stmt, sql] : {std::pair{&m_begin, "BEGIN"}, std::pair{&m_commit, "COMMIT"},
                                 std::pair{&m_version, "PRAGMA data_version"},
                                 std::pair{&m_row, "SELECT * FROM Zeitschriften WHERE ID = ?"}}) {
            sqlite3_prepare_v2(m_db, sql, -1, stmt, nullptr);
        }
    }
    ~PlainStep() {
        for (sqlite3_stmt* stmt : {m_begin, m_commit, m_version, m_row}) {
            sqlite3_finalize(stmt);
        }
        sqlite3_close_v2(m_db);
    }
    PlainStep(const PlainStep&) = delete;
    PlainStep& operator=(const PlainStep&) = delete;

    void operator()() {
        Run(m_begin);
        sqlite3_step(m_version);
        benchmark::DoNotOptimize(sqlite3_column_int64(m_version, 0));
        sqlite3_reset(m_version);
        m_key = m_key % m_records + 1;
        sqlite3_bind_int64(m_row, 1, m_key);
        if (sqlite3_step(m_row) == SQLITE_ROW) {
            for (int column = 1; column <= 4; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(m_row, column));
            }
        }
        sqlite3_reset(m_row);
        Run(m_commit);
    }

private:
    static void Run(sqlite3_stmt* stmt) {
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }

    sqlite3* m_db;
    long m_records;
    std::int64_t m_key = 0;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_version = nullptr;
    sqlite3_stmt* m_row = nullptr;
};

constexpr const char* kPlainStep =
    "SQLite reads the next row by key in a read transaction with PRAGMA data_version (same "
    "flags, mapping)";

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

// A step costs tens of microseconds; so many in a row make one turn of the measurement.
constexpr int kStepsPerTurn = 32;

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
    PlainStep plain(path.toStdString(), state.range(0));
    MeasureInTurn(
        state, kPlainStep, [&plain] { plain(); },
        [view] {
            CDaoTransaction command = view->GetDocument()->BeginCommand(false);
            view->SaveRecord();
            view->m_pSet->MoveNext();
            if (view->m_pSet->IsEOF()) {
                view->m_pSet->MoveFirst();
            }
            view->LoadRecord();
            command.Commit();
        },
        kStepsPerTurn);
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
    PlainStep plain(work.toStdString(), state.range(0));
    MeasureInTurn(
        state, kPlainStep, [&plain] { plain(); },
        [view, command] { view->OnCmdMsg(command, CmdAction::Execute); }, kStepsPerTurn);
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
// then follows. `followed` tells afterwards whether it shows the last change. With /log:1 the
// program has stored one edit first, as in any catalogue it has written to, which gives the
// file its change log; /log:0 follows the way of a file it may only read.
void MeasureLiveUpdate(benchmark::State& state, const std::function<void(sqlite3*, long)>& change,
                       const std::function<bool(CPeriolexView*, long)>& followed) {
    const QString work = WorkingCopy(state.range(0));
    CPeriolexApp app;
    CPeriolexView* view = StartProgram(app, work);
    if (!view) {
        state.SkipWithError("program did not start");
        return;
    }
    if (state.range(1) != 0) {
        qobject_cast<QLineEdit*>(view->GetDlgItem(IDC_SEITE))
            ->setText(QStringLiteral("bearbeitet"));
        view->OnCmdMsg(ID_DATENSATZ_ERSTER, CmdAction::Execute);
    }
    sqlite3* other = nullptr;
    sqlite3_open_v2(work.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
    long round = 0;
    Spent total;
    Spent longest;
    for (auto _ : state) {
        state.PauseTiming();
        change(other, ++round);
        state.ResumeTiming();
        const Spent start = Spent::Now();
        view->GetDocument()->CheckForChangesElsewhere();
        const Spent spent = Spent::Now() - start;
        total += spent;
        if (spent.wall > longest.wall) {
            longest = spent;
        }
    }
    state.counters["wall"] = benchmark::Counter(total.wall, benchmark::Counter::kAvgIterations);
    state.counters["cpu"] = benchmark::Counter(total.cpu, benchmark::Counter::kAvgIterations);
    // A long round with little CPU time waited for the machine, not for the program.
    state.counters["longest_wall"] = longest.wall;
    state.counters["longest_cpu"] = longest.cpu;
    state.SetLabel(state.range(1) != 0
                       ? "an absolute goal; the other program's change is not timed"
                       : "without a change log (a file opened read-only): rows counted");
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

BENCHMARK(BM_OpenCatalogue)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCatalogue)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PeakMemoryOfOpening)->Arg(10'000'000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_RecordCommand)
    ->ArgNames({"records", "command"})
    ->Args({1'000'000, ID_DATENSATZ_NAECHSTER})
    ->Args({1'000'000, ID_DATENSATZ_VORHERIGER})
    ->Args({1'000'000, ID_DATENSATZ_ERSTER})
    ->Args({1'000'000, ID_DATENSATZ_LETZTER})
    ->Args({1'000'000, ID_DATENSATZ_HINZUFUEGEN})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordCommand)
    ->ArgNames({"records", "command"})
    ->Args({10'000'000, ID_DATENSATZ_NAECHSTER})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormStep)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawDataVersion)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiveCheck)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
void LiveUpdateSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"records", "log"})
        ->Args({1'000'000, 1})
        ->Args({10'000'000, 1})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
}
// Reading every key of ten million again takes seconds a round.
void LiveUpdateWithoutLogSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"records", "log"})
        ->Args({1'000'000, 0})
        ->Args({10'000'000, 0})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
}
BENCHMARK(BM_LiveUpdate)->Apply(LiveUpdateSizes);
BENCHMARK(BM_LiveUpdateAfterDelete)->Apply(LiveUpdateSizes);
BENCHMARK(BM_LiveUpdate)->Apply(LiveUpdateWithoutLogSizes);
BENCHMARK(BM_LiveUpdateAfterDelete)->Apply(LiveUpdateWithoutLogSizes);
BENCHMARK(BM_SaveAndStep)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

// The two sides of BM_PeakMemoryOfOpening, each run alone in a process of its own.
int PeakChild(const std::string& option, const std::string& path) {
    if (option == "--peak-plain") {
        PlainOpen(path);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_catalogue";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    OpenDocument(QString::fromStdString(path));
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]).rfind("--peak-", 0) == 0) {
        return PeakChild(argv[1], argv[2]);
    }
    return RunOffscreenBenchmarks(argc, argv);
}
