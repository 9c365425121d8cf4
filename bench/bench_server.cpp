// The record store on a PostgreSQL server over its local socket, against plain libpq doing the
// same work in the same run: opening (all keys, in turn with libpq connecting each time as the
// program does), a form step (alone and as a command), a save,
// a "contains" query without and with the trigram index on the articles (/trgm:0, /trgm:1), and
// a change by one connection seen by another. Needs the test server: tools/with-test-server
// build-release/bench/bench_server. One catalogue of 1M articles is made in a schema of its own
// and dropped at the end.
#include <ServerCatalogueSchema.h>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoException.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "InTurn.h"
#include "LikeRegex.h"

namespace {

constexpr long kArticles = 1000000;

std::string g_conninfo;
std::string g_uri;
// What builds the catalogue's trigram index; empty when the server has no pg_trgm.
std::string g_trigramIndex;
bool g_indexed = false;

PGconn* Connect() {
    PGconn* conn = PQconnectdb(g_conninfo.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        throw std::runtime_error(PQerrorMessage(conn));
    }
    return conn;
}

void Run(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error(PQerrorMessage(conn));
    }
}

std::vector<long long> RawKeys(PGconn* conn, const std::string& sql) {
    PGresult* result = PQexec(conn, sql.c_str());
    std::vector<long long> keys;
    keys.reserve(static_cast<std::size_t>(PQntuples(result)));
    for (int row = 0; row < PQntuples(result); ++row) {
        keys.push_back(std::strtoll(PQgetvalue(result, row, 0), nullptr, 10));
    }
    PQclear(result);
    return keys;
}

// Opening as the program opens a catalogue, with a connection of its own each time: every
// key kept, then the last record's four fields read.
void ProgramOpen() {
    CDaoDatabase db;
    db.Open(g_uri);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    rs.MoveLast();
    for (int field = 1; field <= 4; ++field) {
        benchmark::DoNotOptimize(rs.GetFieldValue(field));
    }
}

// One record read by its key, as the record store reads the record it shows.
void RawReadRecord(PGconn* conn, long long key) {
    const std::string id = std::to_string(key);
    const char* values[] = {id.c_str()};
    PGresult* result = PQexecParams(conn,
                                    "SELECT id, zeitschriftennummer, zeitschriftenname,"
                                    " artikelname, seite FROM zeitschriften WHERE id = $1",
                                    1, nullptr, values, nullptr, nullptr, 0);
    benchmark::DoNotOptimize(PQgetvalue(result, 0, 3));
    PQclear(result);
}

void PlainOpen() {
    PGconn* conn = Connect();
    RawReadRecord(conn, RawKeys(conn, "SELECT id FROM zeitschriften ORDER BY id").back());
    PQfinish(conn);
}

void BM_OpenCatalogue(benchmark::State& state) {
    MeasureInTurn(state,
                  "libpq connects, keeps every key in a vector and reads the last row, each time",
                  PlainOpen, ProgramOpen);
}
BENCHMARK(BM_OpenCatalogue)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RawReadOneRecord(benchmark::State& state) {
    PGconn* conn = Connect();
    long long key = 1;
    for (auto _ : state) {
        RawReadRecord(conn, key);
        key = key % kArticles + 1;
    }
    PQfinish(conn);
}
BENCHMARK(BM_RawReadOneRecord)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// A step with an unchanged form: move, read the four fields, Edit/Update writing nothing; with
// /command:1 as the program runs it, in a read transaction of its own.
void BM_FormStep(benchmark::State& state) {
    CDaoDatabase db;
    db.Open(g_uri);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    const bool asCommand = state.range(0) != 0;
    for (auto _ : state) {
        if (asCommand) {
            db.BeginTrans(false);
        }
        rs.MoveNext();
        if (rs.IsEOF()) {
            rs.MoveFirst();
        }
        for (int field = 1; field <= 4; ++field) {
            benchmark::DoNotOptimize(rs.GetFieldValue(field));
        }
        if (asCommand) {
            db.CommitTrans();
        }
    }
}
BENCHMARK(BM_FormStep)
    ->ArgName("command")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// Storing one changed field by hand: the update and its commit.
void BM_RawSave(benchmark::State& state) {
    PGconn* conn = Connect();
    long round = 0;
    for (auto _ : state) {
        const std::string text = "Runde " + std::to_string(++round);
        const char* values[] = {text.c_str()};
        Run(conn, "BEGIN");
        PQclear(PQexecParams(conn, "UPDATE zeitschriften SET seite = $1 WHERE id = 500000", 1,
                             nullptr, values, nullptr, nullptr, 0));
        Run(conn, "COMMIT");
    }
    PQfinish(conn);
}
BENCHMARK(BM_RawSave)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Storing one changed field as the form does: merged against what the form loaded, in one
// write transaction.
void BM_Save(benchmark::State& state) {
    CDaoDatabase db;
    db.Open(g_uri);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften WHERE ID = 500000");
    std::string loaded = rs.GetFieldValue(4).GetString();
    long round = 0;
    for (auto _ : state) {
        const std::string text = "Schritt " + std::to_string(++round);
        std::vector<COleVariant> current;
        CDaoTransaction command(db, true);
        rs.StoreChanges(COleVariant(std::int64_t{500000}), {{4, loaded, text}}, current);
        command.Commit();
        loaded = text;
    }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Builds or drops the trigram index, outside the measured time.
bool UseTrigramIndex(benchmark::State& state) {
    const bool wanted = state.range(0) != 0;
    if (wanted && g_trigramIndex.empty()) {
        state.SkipWithError("the server has no pg_trgm");
        return false;
    }
    if (wanted != g_indexed) {
        PGconn* conn = Connect();
        Run(conn, wanted ? g_trigramIndex + "; ANALYZE zeitschriften"
                         : "DROP INDEX zeitschriften_artikelname_trgm");
        PQfinish(conn);
        g_indexed = wanted;
    }
    return true;
}

void BM_RawQuery(benchmark::State& state) {
    if (!UseTrigramIndex(state)) {
        return;
    }
    PGconn* conn = Connect();
    const std::string regex = LikeRegex(LikePattern("*motor*"));
    for (auto _ : state) {
        const char* values[] = {regex.c_str()};
        PGresult* result =
            PQexecParams(conn, "SELECT id FROM zeitschriften WHERE artikelname ~ $1 ORDER BY id", 1,
                         nullptr, values, nullptr, nullptr, 0);
        benchmark::DoNotOptimize(PQntuples(result));
        PQclear(result);
    }
    PQfinish(conn);
}
void BM_Query(benchmark::State& state) {
    if (!UseTrigramIndex(state)) {
        return;
    }
    CDaoDatabase db;
    db.Open(g_uri);
    CDaoRecordset rs(&db);
    for (auto _ : state) {
        rs.Open(dbOpenDynaset,
                "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like ?))", 0,
                {"*motor*"});
        benchmark::DoNotOptimize(rs.GetRecordCount());
    }
    state.counters["found"] = static_cast<double>(rs.GetRecordCount());
}
// Paired by index, so that it is built only once.
BENCHMARK(BM_RawQuery)->ArgName("trgm")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Query)->ArgName("trgm")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawQuery)->ArgName("trgm")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Query)->ArgName("trgm")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// From one connection's commit to the other's descriptor turning readable and its check
// answering yes.
void BM_ChangeSeenElsewhere(benchmark::State& state) {
    CDaoDatabase writer;
    writer.Open(g_uri);
    CDaoRecordset rs(&writer);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften WHERE ID = 1");
    // The watcher follows the table it opened, as a window does, wherever its path found it.
    CDaoDatabase watcher;
    watcher.Open(g_uri);
    CDaoRecordset watched(&watcher);
    watched.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften WHERE ID = 1");
    int round = 0;
    for (auto _ : state) {
        rs.Edit();
        rs.SetFieldValue(4, "Runde " + std::to_string(++round));
        rs.Update();
        pollfd fd{watcher.ChangeDescriptor(), POLLIN, 0};
        while (watcher.CheckForChanges() != DaoChange::Changed) {
            poll(&fd, 1, 1000);
        }
    }
}
BENCHMARK(BM_ChangeSeenElsewhere)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    const char* host = std::getenv("PERIOLEX_TEST_PGHOST");
    if (host == nullptr) {
        std::fprintf(stderr, "bench_server: run under tools/with-test-server\n");
        return 1;
    }
    const std::string schema = "bench_" + std::to_string(getpid());
    g_conninfo = "host=" + std::string(host) +
                 " dbname=postgres user=periolex options=-csearch_path=" + schema;
    g_uri = "postgresql:///postgres?host=" + std::string(host) +
            "&user=periolex&options=-csearch_path%3D" + schema;
    try {
        PGconn* admin = Connect();
        Run(admin, "CREATE SCHEMA " + schema);
        Run(admin, kServerCatalogueSchemaSql);
        // The rows go in faster without the index; the query benchmarks build it when they need
        // it.
        PGresult* index =
            PQexec(admin, "SELECT pg_get_indexdef('zeitschriften_artikelname_trgm'::regclass)");
        if (PQresultStatus(index) == PGRES_TUPLES_OK) {
            g_trigramIndex = PQgetvalue(index, 0, 0);
        }
        PQclear(index);
        if (!g_trigramIndex.empty()) {
            Run(admin, "DROP INDEX zeitschriften_artikelname_trgm");
        }
        Run(admin,
            "INSERT INTO zeitschriften (zeitschriftennummer, zeitschriftenname, artikelname, seite)"
            " SELECT i % 12 || '/' || (1980 + i % 40), 'Heft ' || (i % 97),"
            " CASE WHEN i % 50 = 0 THEN 'Motorräder im Test ' ELSE 'Bericht ' END || i,"
            " i % 300 FROM generate_series(1, " +
                std::to_string(kArticles) +
                ") AS i;"
                " ANALYZE zeitschriften");
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        Run(admin, "DROP SCHEMA " + schema + " CASCADE");
        PQfinish(admin);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_server: %s\n", e.what());
        return 1;
    } catch (CDaoException* e) {
        std::fprintf(stderr, "bench_server: %s\n", e->GetErrorMessage().c_str());
        e->Delete();
        return 1;
    }
    return 0;
}
