// The record store against raw SQLite on the articles table: opening a dynaset on the whole
// table, a "contains" search with the LIKE dialect, and stepping through records while an
// editor saves unchanged forms. Catalogues of 10k, 100k and 1M articles are generated once
// and kept in the temporary folder for later runs.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include "SqliteHandleOf.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

#include "CDaoDatabase.h"
#include "CDaoException.h"
#include "CDaoRecordset.h"
#include "CatalogueGenerator.h"
#include "SqliteLikeFunction.h"

namespace {

namespace fs = std::filesystem;

void Check(sqlite3* db, int rc, int expected = SQLITE_OK) {
    if (rc != expected) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
}

const std::string& Catalogue(std::int64_t rows) {
    static std::map<std::int64_t, std::string> paths;
    std::string& path = paths[rows];
    if (path.empty()) {
        path = CachedCatalogue(static_cast<long>(rows));
    }
    return path;
}

sqlite3* OpenRaw(const std::string& path) {
    sqlite3* db = nullptr;
    Check(db, sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    return db;
}

std::int64_t StepIds(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    Check(db, sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr));
    std::int64_t sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        sum += sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return sum;
}

void RawSelectId(benchmark::State& state) {
    const std::string& path = Catalogue(state.range(0));
    for (auto _ : state) {
        sqlite3* db = OpenRaw(path);
        benchmark::DoNotOptimize(StepIds(db, "SELECT ID FROM Zeitschriften"));
        sqlite3_close_v2(db);
    }
}

// Opens the database and a dynaset on `sql` and goes to its last record, as the form does.
void DaoOpenAndMoveLast(benchmark::State& state, const std::string& sql) {
    const std::string& path = Catalogue(state.range(0));
    try {
        for (auto _ : state) {
            CDaoDatabase db;
            db.Open(path);
            CDaoRecordset rs(&db);
            rs.Open(dbOpenDynaset, sql);
            if (rs.GetRecordCount() > 0) {
                rs.MoveLast();
            }
            benchmark::DoNotOptimize(rs.GetAbsolutePosition());
        }
    } catch (CDaoException* e) {
        state.SkipWithError(e->GetErrorMessage().c_str());
        e->Delete();
    }
}

void DaoSelectAll(benchmark::State& state) {
    DaoOpenAndMoveLast(state, "SELECT * FROM Zeitschriften");
}

void RawLikeBuiltin(benchmark::State& state) {
    const std::string& path = Catalogue(state.range(0));
    for (auto _ : state) {
        sqlite3* db = OpenRaw(path);
        benchmark::DoNotOptimize(
            StepIds(db, "SELECT ID FROM Zeitschriften WHERE Artikelname LIKE '%motor%'"));
        sqlite3_close_v2(db);
    }
}

// The dialect's function without the record set, to tell their costs apart.
void RawLikeDialect(benchmark::State& state) {
    const std::string& path = Catalogue(state.range(0));
    for (auto _ : state) {
        sqlite3* db = OpenRaw(path);
        InstallLikeDialect(db);
        benchmark::DoNotOptimize(
            StepIds(db, "SELECT ID FROM Zeitschriften WHERE Artikelname Like '*motor*'"));
        sqlite3_close_v2(db);
    }
}

void DaoLike(benchmark::State& state) {
    DaoOpenAndMoveLast(state,
                       "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like "
                       "'*motor*'))");
}

// Saving a form nobody changed, then stepping to the next record and filling the form.
void DaoEditUnchangedAndMoveNext(benchmark::State& state) {
    const std::string& path = Catalogue(state.range(0));
    try {
        CDaoDatabase db;
        db.Open(path);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
        std::array<std::string, 4> form;
        for (int i = 0; i < 4; ++i) {
            form[i] = rs.GetFieldValue(i + 1).GetString();
        }
        const int changesBefore = sqlite3_total_changes(SqliteHandleOf(db));
        for (auto _ : state) {
            rs.Edit();
            for (int i = 0; i < 4; ++i) {
                rs.SetFieldValue(i + 1, form[i]);
            }
            rs.Update();
            rs.MoveNext();
            if (rs.IsEOF()) {
                rs.MoveFirst();
            }
            for (int i = 0; i < 4; ++i) {
                form[i] = rs.GetFieldValue(i + 1).GetString();
            }
        }
        state.counters["writes"] = sqlite3_total_changes(SqliteHandleOf(db)) - changesBefore;
    } catch (CDaoException* e) {
        state.SkipWithError(e->GetErrorMessage().c_str());
        e->Delete();
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(RawSelectId)->Apply(Sizes);
BENCHMARK(DaoSelectAll)->Apply(Sizes);
BENCHMARK(RawLikeBuiltin)->Apply(Sizes);
BENCHMARK(RawLikeDialect)->Apply(Sizes);
BENCHMARK(DaoLike)->Apply(Sizes);
BENCHMARK(DaoEditUnchangedAndMoveNext)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
