// Export to CSV and import from CSV of large catalogues, each against the sqlite3 tool doing the
// same with the same file in the same run. The growth of the peak memory shows that neither side
// of ours holds the file or the table whole.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include <ResourceLookup.h>

#include "CatalogueGenerator.h"
#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "res/Resource.h"
#include "view/ArticleQuery.h"

namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

QString InFolder(const QString& name) {
    return Folder().filePath(name);
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string Quoted(const QString& path) {
    return "'" + path.toStdString() + "'";
}

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

void BM_ImportCsv(benchmark::State& state) {
    const QString csv = CsvOf(state.range(0));
    const double before = PeakMegabytes();
    for (auto _ : state) {
        ImportRecords(csv, InFolder(QStringLiteral("import.plx")), ImportTarget::Replace);
    }
    state.counters["peak_growth_MB"] = PeakMegabytes() - before;
}

void BM_Sqlite3ToolImport(benchmark::State& state) {
    const QString csv = CsvOf(state.range(0));
    const QString db = InFolder(QStringLiteral("tool.db"));
    // The file is ';'-separated, as German spreadsheets expect; the tool is told so.
    const std::string command = "sqlite3 -cmd '.mode csv' -cmd '.separator ;' " + Quoted(db) +
                                " '.import " + csv.toStdString() + " Zeitschriften'";
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(db);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sqlite3 failed");
        }
    }
}

constexpr long kRecords = 1000000;

BENCHMARK(BM_ExportCsv)->Arg(kRecords)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3ToolCsv)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ImportCsv)->Arg(kRecords)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3ToolImport)
    ->Arg(kRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // New catalogues come from the template that the build puts beside the benchmarks' folder.
    if (!qEnvironmentVariableIsSet("PERIOLEX_SYSTEM_DIR")) {
        qputenv("PERIOLEX_SYSTEM_DIR",
                QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../res"))
                    .absolutePath()
                    .toUtf8());
    }
    AfxSetResourceTables(&PeriolexResources());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
