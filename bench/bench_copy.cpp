// Copying a catalogue of a million records between a file and a server, against the tools doing
// the same in the same run. To a server: psql's COPY of the rows from a text file, then the build
// of the indexes that the copy also builds after its load. From a server: psql's COPY of the rows
// to its output, piped into sqlite3's .import into a table of the catalogue's schema, the two
// taking turns with ours; the server's CPU counts on both sides. Needs the test server:
// tools/with-test-server build-release/bench/bench_copy. Each copy goes into a schema of its
// own, dropped afterwards.
#include <ServerCatalogueSchema.h>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "CatalogueGenerator.h"
#include "ToolComparison.h"
#include "catalogue/CatalogueCopy.h"

namespace {

constexpr long kRecords = 1000000;

std::string g_host;
std::string g_schema;

std::string Uri(const std::string& schema) {
    return "postgresql:///postgres?host=" + g_host + "&user=periolex&options=-csearch_path%3D" +
           schema;
}

void Run(const std::string& sql) {
    PGconn* conn = PQconnectdb(("host=" + g_host + " dbname=postgres user=periolex").c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string error = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error(error);
    }
}

// A schema of its own for one load, empty.
void FreshSchema(const std::string& schema) {
    Run("DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
}

// The million records on the server, for copying back and for psql's text file.
const std::string& LoadedSchema() {
    static const std::string schema = [] {
        const std::string name = g_schema + "_voll";
        FreshSchema(name);
        CatalogueCopy copy(QString::fromStdString(CachedCatalogue(kRecords)),
                           QString::fromStdString(Uri(name)), false);
        if (copy.Run({}) != kRecords) {
            throw std::runtime_error(copy.GetError().toStdString());
        }
        return name;
    }();
    return schema;
}

int Psql(const std::string& schema, const std::string& command) {
    const std::string line = "psql -q -X -v ON_ERROR_STOP=1 -h '" + g_host +
                             "' -U periolex -d postgres -c 'SET search_path = " + schema +
                             "' -c \"" + command + "\" >/dev/null";
    return std::system(line.c_str());
}

void BM_CopyFileToServer(benchmark::State& state) {
    const QString source = QString::fromStdString(CachedCatalogue(kRecords));
    const std::string schema = g_schema + "_ziel";
    for (auto _ : state) {
        state.PauseTiming();
        FreshSchema(schema);
        state.ResumeTiming();
        CatalogueCopy copy(source, QString::fromStdString(Uri(schema)), false);
        if (copy.Run({}) != kRecords) {
            state.SkipWithError(copy.GetError().toStdString().c_str());
            return;
        }
    }
    Run("DROP SCHEMA " + schema + " CASCADE");
    state.SetLabel("baseline: BM_PsqlCopyAndIndex, psql COPY of the same rows, then index and key");
}

// What the copy to a server cannot do faster than: psql's COPY of the same rows from a text
// file into the catalogue's table, then the index and the key generator, as the copy does.
void BM_PsqlCopyAndIndex(benchmark::State& state) {
    const std::string rows = Folder().filePath(QStringLiteral("zeilen.txt")).toStdString();
    if (!QFile::exists(QString::fromStdString(rows)) &&
        Psql(LoadedSchema(), "\\\\copy zeitschriften to '" + rows + "'") != 0) {
        state.SkipWithError("psql could not write the rows");
        return;
    }
    const std::string schema = g_schema + "_psql";
    for (auto _ : state) {
        state.PauseTiming();
        FreshSchema(schema);
        Run("SET search_path = " + schema + "; " + kServerCatalogueSchemaSql +
            "; DROP INDEX IF EXISTS zeitschriften_artikelname_trgm");
        state.ResumeTiming();
        const int copied = Psql(schema, "\\\\copy zeitschriften from '" + rows + "'");
        const int indexed = Psql(
            schema,
            "CREATE INDEX zeitschriften_artikelname_trgm ON zeitschriften USING gin (artikelname "
            "public.gin_trgm_ops); SELECT setval(pg_get_serial_sequence('zeitschriften', 'id'), "
            "(SELECT max(id) FROM zeitschriften) + 1, false)");
        if (copied != 0 || indexed != 0) {
            state.SkipWithError("psql failed");
            return;
        }
    }
    Run("DROP SCHEMA " + schema + " CASCADE");
}

// CPU seconds that the test server has spent so far: its processes now, and those that ended.
double ServerCpuSeconds() {
    static const std::string postmaster = [] {
        std::ifstream pidFile(g_host + "/data/postmaster.pid");
        std::string pid;
        std::getline(pidFile, pid);
        return pid;
    }();
    double ticks = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        std::ifstream statFile("/proc/" + entry.toStdString() + "/stat");
        std::string stat;
        std::getline(statFile, stat);
        const std::size_t nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos) {
            continue;
        }
        // After the name: state, parent, ... and from the 14th field on the user and system
        // times, then those of the children that ended.
        std::istringstream fields(stat.substr(nameEnd + 2));
        std::string state, parent, skip;
        double user = 0, system = 0, childrenUser = 0, childrenSystem = 0;
        fields >> state >> parent;
        for (int i = 0; i < 9; ++i) {
            fields >> skip;
        }
        fields >> user >> system >> childrenUser >> childrenSystem;
        if (entry.toStdString() == postmaster) {
            ticks += user + system + childrenUser + childrenSystem;
        } else if (parent == postmaster) {
            ticks += user + system;
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Our copy from the server into a new catalogue file, against psql streaming the same rows out
// with COPY into sqlite3's .import into a table of the catalogue's schema.
void BM_CopyServerToFile_vs_psql_copy_to_sqlite3_import(benchmark::State& state) {
    const std::string schema = LoadedSchema();
    const QString source = QString::fromStdString(Uri(schema));
    const QString target = Folder().filePath(QStringLiteral("zurueck.plx"));
    const std::string toolTarget = Folder().filePath(QStringLiteral("zurueck.db")).toStdString();
    const std::string tool =
        "psql -q -X -v ON_ERROR_STOP=1 -h '" + g_host +
        "' -U periolex -d postgres -c \"\\copy (SELECT ID, Zeitschriftennummer, "
        "Zeitschriftenname, Artikelname, Seite FROM " +
        schema + ".zeitschriften ORDER BY ID) TO STDOUT WITH (FORMAT csv)\" | sqlite3 '" +
        toolTarget +
        "' 'CREATE TABLE Zeitschriften (ID INTEGER PRIMARY KEY AUTOINCREMENT, Zeitschriftennummer "
        "TEXT, Zeitschriftenname TEXT, Artikelname TEXT, Seite TEXT)' '.mode csv' "
        "'.import /dev/stdin Zeitschriften'";
    InTurn turns;
    double oursServer = 0;
    double toolServer = 0;
    // One side's work, with the server's CPU meanwhile counted as its own too.
    const auto withServer = [](const auto& work, double& server) {
        const double serverStart = ServerCpuSeconds();
        Spent spent = Measure(work);
        const double used = ServerCpuSeconds() - serverStart;
        spent.cpu += used;
        server += used;
        return spent;
    };
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        QFile::remove(QString::fromStdString(toolTarget));
        state.ResumeTiming();
        const auto runOurs = [&] {
            turns.AddProgram(withServer(
                [&] {
                    CatalogueCopy copy(source, target, false);
                    if (copy.Run({}) != kRecords) {
                        state.SkipWithError(copy.GetError().toStdString().c_str());
                    }
                },
                oursServer));
        };
        const auto runTool = [&] {
            turns.AddBaseline(withServer(
                [&] {
                    if (std::system(tool.c_str()) != 0) {
                        state.SkipWithError("psql or sqlite3 failed");
                    }
                },
                toolServer));
        };
        InTurn::Round(state.iterations(), runTool, runOurs);
    }
    turns.Report(state,
                 "psql \\copy ... TO STDOUT piped into sqlite3 .import, the tools' and the "
                 "server's CPU counted");
    state.counters["server_cpu"] =
        benchmark::Counter(oursServer, benchmark::Counter::kAvgIterations);
    state.counters["base_server_cpu"] =
        benchmark::Counter(toolServer, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_PsqlCopyAndIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CopyFileToServer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CopyServerToFile_vs_psql_copy_to_sqlite3_import)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
    const char* host = std::getenv("PERIOLEX_TEST_PGHOST");
    if (host == nullptr) {
        std::fprintf(stderr, "bench_copy: run under tools/with-test-server\n");
        return 1;
    }
    g_host = host;
    g_schema = "kopie_" + std::to_string(getpid());
    try {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        Run("DROP SCHEMA IF EXISTS " + g_schema + "_voll CASCADE");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_copy: %s\n", e.what());
        return 1;
    }
    return 0;
}
