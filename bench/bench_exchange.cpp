// Export to CSV and import from CSV of large catalogues, each against the sqlite3 tool doing the
// same with the same file in the same run; the import takes turns with the tool. The growth of the
// peak memory shows that neither side of ours holds the file or the table whole.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <cstdlib>

#include "CatalogueGenerator.h"
#include "ToolComparison.h"
#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "view/ArticleQuery.h"

namespace {

// The CSV file of a catalogue of `records` records, as our export writes it.
QString CsvOf(long records) {
    const QString csv = InFolder(QStringLiteral("katalog-%1.csv").arg(records));
    if (!QFile::exists(csv)) {
        ExportRecords(QString::fromStdString(CachedCatalogue(records)), WholeTableQuery().statement,
                      {}, csv);
    }
    return csv;
}

void BM_ExportCsv(benchmark::State& state) {
    const QString catalogue = QString::fromStdString(CachedCatalogue(state.range(0)));
    const double before = PeakMegabytes();
    for (auto _ : state) {
        ExportRecords(catalogue, WholeTableQuery().statement, {},
                      InFolder(QStringLiteral("export.csv")));
    }
    state.counters["peak_growth_MB"] = PeakMegabytes() - before;
}

void BM_Sqlite3ToolCsv(benchmark::State& state) {
    const std::string command = "sqlite3 -csv -header " + CachedCatalogue(state.range(0)) +
                                " 'SELECT * FROM Zeitschriften' > " +
                                Quoted(InFolder(QStringLiteral("tool.csv")));
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sqlite3 failed");
        }
    }
}

// Our import and the sqlite3 tool's .import of the same file, taking turns in every iteration so
// that a busy machine slows both alike. Both are measured in CPU time, the tool's as that of
// the child process it runs in; the counter "ratio" is ours over the tool's.
void BM_ImportCsvAgainstSqlite3(benchmark::State& state) {
    const QString csv = CsvOf(state.range(0));
    const QString db = InFolder(QStringLiteral("tool.db"));
    // The file is ';'-separated, as German spreadsheets expect; the tool is told so.
    const std::string command = "sqlite3 -cmd '.mode csv' -cmd '.separator ;' " + Quoted(db) +
                                " '.import " + csv.toStdString() + " Zeitschriften'";
    const double before = PeakMegabytes();
    double ours = 0;
    double tool = 0;
    for (auto _ : state) {
        const double selfStart = CpuSeconds(RUSAGE_SELF);
        ImportRecords(csv, InFolder(QStringLiteral("import.plx")), ImportTarget::Replace);
        ours += CpuSeconds(RUSAGE_SELF) - selfStart;

        QFile::remove(db);
        const double childStart = CpuSeconds(RUSAGE_CHILDREN);
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sqlite3 failed");
        }
        tool += CpuSeconds(RUSAGE_CHILDREN) - childStart;
    }
    state.counters["ours_cpu_s"] = ours / static_cast<double>(state.iterations());
    state.counters["sqlite3_cpu_s"] = tool / static_cast<double>(state.iterations());
    state.counters["ratio"] = tool > 0 ? ours / tool : 0;
    state.counters["peak_growth_MB"] = PeakMegabytes() - before;
}

constexpr long kRecords = 1000000;

BENCHMARK(BM_ExportCsv)->Arg(kRecords)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3ToolCsv)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ImportCsvAgainstSqlite3)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunCatalogueBenchmarks(argc, argv);
}
