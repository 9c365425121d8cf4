// Taking over a catalogue of the Windows program against mdb-export piped into the sqlite3 tool,
// which fill the same catalogue schema from the same file. The two alternate within each
// iteration, so that neither gets the warmer machine; the CPU time of each side counts everything
// it runs, the tools' child processes included. The largest test file's largest table is small,
// so each side repeats its work kRepeats times per measurement.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <cstdlib>

#include <SystemDirectory.h>

#include "ToolComparison.h"
#include "catalogue/CatalogueImport.h"

namespace {

constexpr int kRepeats = 20;
const QString kFile =
    QStringLiteral(PERIOLEX_SOURCE_DIR "/tests/exchange/data/jet/testIndexCodesV1997.mdb");
const QString kTable = QStringLiteral("Table1");

// The tools' way: a new catalogue from the template, emptied as ours is, the CSV of mdb-export
// read into a table of its columns and moved into the articles' table in one transaction.
std::string ToolCommand(const QString& target) {
    const QString templatePath = QDir(GetSystemDirectory()).filePath(QStringLiteral("file.dat"));
    return "rm -f " + Quoted(target) + " && cp " + Quoted(templatePath) + " " + Quoted(target) +
           " && mdb-export " + Quoted(kFile) + " " + kTable.toStdString() + " | sqlite3 " +
           Quoted(target) +
           " -cmd 'BEGIN' -cmd 'DELETE FROM Zeitschriften'"
           " -cmd 'CREATE TEMP TABLE neu (name TEXT, data TEXT)'"
           " -cmd '.import --csv --skip 1 /dev/stdin neu'"
           " 'INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname)"
           " SELECT name, data FROM neu; COMMIT'";
}

void BM_TakeOverAgainstMdbExportAndSqlite3(benchmark::State& state) {
    const QString ours = InFolder(QStringLiteral("periolex.plx"));
    const QString tools = InFolder(QStringLiteral("werkzeuge.plx"));
    const std::string command = ToolCommand(tools);
    ImportOptions options;
    options.settings.table = kTable;
    const double peakBefore = PeakMegabytes();
    double ourSeconds = 0;
    double toolSeconds = 0;
    long records = 0;
    for (auto _ : state) {
        const double ourStart = CpuSeconds(RUSAGE_SELF);
        for (int i = 0; i < kRepeats; ++i) {
            records = ImportRecords(kFile, ours, ImportTarget::Replace, options).records;
        }
        ourSeconds += CpuSeconds(RUSAGE_SELF) - ourStart;
        const double toolStart = CpuSeconds(RUSAGE_CHILDREN);
        for (int i = 0; i < kRepeats; ++i) {
            if (std::system(command.c_str()) != 0) {
                state.SkipWithError("mdb-export or sqlite3 failed");
                return;
            }
        }
        toolSeconds += CpuSeconds(RUSAGE_CHILDREN) - toolStart;
    }
    const auto runs = static_cast<double>(state.iterations() * kRepeats);
    state.counters["records"] = static_cast<double>(records);
    state.counters["periolex_cpu_ms"] = 1000 * ourSeconds / runs;
    state.counters["tools_cpu_ms"] = 1000 * toolSeconds / runs;
    state.counters["tools_per_periolex"] = toolSeconds / ourSeconds;
    state.counters["peak_growth_MB"] = PeakMegabytes() - peakBefore;
}

BENCHMARK(BM_TakeOverAgainstMdbExportAndSqlite3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return RunCatalogueBenchmarks(argc, argv);
}
