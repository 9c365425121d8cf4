// CSV export and import of a catalogue of a million records, each against the sqlite3 tool doing
// the same work with the same file in the same run, the two taking turns. Both sides are
// measured in wall and CPU time, the tool's as that of the processes it runs in; the counter
// cpu_ratio is ours over the tool's, which is what the goals name (export <= 1.0, import <= 1.2).
// The growth of the peak memory shows that neither side of ours holds the file or the table whole.
#include <benchmark/benchmark.h>

#include <QFile>
#include <cstdlib>

#include "CatalogueGenerator.h"
#include "ToolComparison.h"
#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "view/ArticleQuery.h"

namespace {

constexpr long kRecords = 1000000;

// The CSV file of a catalogue of `records` records, as our export writes it.
QString CsvOf(long records) {
    const QString csv = InFolder(QStringLiteral("katalog-%1.csv").arg(records));
    if (!QFile::exists(csv)) {
        ExportRecords(QString::fromStdString(CachedCatalogue(records)), WholeTableQuery().statement,
                      {}, csv);
    }
    return csv;
}

bool RunTool(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// The tool's side of one round.
void ToolTurn(InTurn& turns, benchmark::State& state, const std::string& command) {
    turns.AddBaseline(Measure([&] {
        if (!RunTool(command)) {
            state.SkipWithError("sqlite3 failed");
        }
    }));
}

// Our export against `sqlite3 -csv` writing the same four columns in the same order.
void BM_CsvExport_vs_sqlite3_csv(benchmark::State& state) {
    const std::string catalogue = CachedCatalogue(state.range(0));
    const QString ours = InFolder(QStringLiteral("export.csv"));
    const std::string tool =
        "sqlite3 -csv " + catalogue +
        " 'SELECT Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite FROM Zeitschriften"
        " ORDER BY ID' > " +
        Quoted(InFolder(QStringLiteral("tool.csv")));
    const double before = PeakMegabytes();
    InTurn turns;
    for (auto _ : state) {
        const auto runOurs = [&] {
            turns.AddProgram(Measure([&] {
                ExportRecords(QString::fromStdString(catalogue), WholeTableQuery().statement, {},
                              ours);
            }));
        };
        const auto runTool = [&] { ToolTurn(turns, state, tool); };
        InTurn::Round(state.iterations(), runTool, runOurs);
    }
    turns.Report(state, "sqlite3 -csv of the same four columns, its process's CPU counted");
    state.counters["peak_growth_MB"] = PeakMegabytes() - before;
}

// The same records for sqlite3's .import, as sqlite3 writes them, with their keys: .import fills
// a table's columns in order and warns, expensively, of every row that leaves one out, and a CSV
// file has no NULL for a key to be drawn from the table's counter.
QString KeyedCsvOf(long records) {
    const QString csv = InFolder(QStringLiteral("katalog-%1-mit-id.csv").arg(records));
    const std::string command =
        "sqlite3 -csv -separator ';' " + CachedCatalogue(records) +
        " 'SELECT ID, Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite FROM"
        " Zeitschriften ORDER BY ID' > " +
        Quoted(csv);
    if (!QFile::exists(csv) && !RunTool(command)) {
        QFile::remove(csv);
    }
    return csv;
}

// Our import into a new catalogue against sqlite3's .import of the same records into a table of
// the catalogue's schema: its key an INTEGER PRIMARY KEY AUTOINCREMENT, whose counter every row
// moves, as ours do.
void BM_CsvImport_vs_sqlite3_import(benchmark::State& state) {
    const QString csv = CsvOf(state.range(0));
    const QString db = InFolder(QStringLiteral("tool.db"));
    const std::string tool =
        "sqlite3 " + Quoted(db) +
        " 'CREATE TABLE Zeitschriften (ID INTEGER PRIMARY KEY AUTOINCREMENT,"
        " Zeitschriftennummer TEXT, Zeitschriftenname TEXT, Artikelname TEXT, Seite TEXT)'"
        " '.mode csv' '.separator ;' '.import " +
        KeyedCsvOf(state.range(0)).toStdString() + " Zeitschriften'";
    const QString catalogue = InFolder(QStringLiteral("import.plx"));
    const double before = PeakMegabytes();
    InTurn turns;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(db);
        QFile::remove(catalogue);
        state.ResumeTiming();
        const auto runOurs = [&] {
            turns.AddProgram(Measure([&] {
                if (ImportRecords(csv, catalogue, ImportTarget::Replace).records !=
                    state.range(0)) {
                    state.SkipWithError("the import lost records");
                }
            }));
        };
        const auto runTool = [&] { ToolTurn(turns, state, tool); };
        InTurn::Round(state.iterations(), runTool, runOurs);
    }
    turns.Report(state,
                 "sqlite3 .import of the same records into the catalogue's own schema, its "
                 "process's CPU counted");
    state.counters["peak_growth_MB"] = PeakMegabytes() - before;
}

BENCHMARK(BM_CsvExport_vs_sqlite3_csv)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);
BENCHMARK(BM_CsvImport_vs_sqlite3_import)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
    return RunCatalogueBenchmarks(argc, argv);
}
