// The record store against plain SQLite on the articles table, in turn round after round:
// opening a dynaset on the whole table and a "contains" search with the LIKE dialect (each
// against SQLite keeping the same keys and reading the first row with the same flags and
// mapping), and stepping through records while an editor saves unchanged forms. Catalogues of
// 10k to 10M articles are generated once and kept in the build's bench-data folder.
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
#include "InTurn.h"
#include "PlainSqlite.h"
#include "SqliteLikeFunction.h"

namespace {

namespace fs = std::filesystem;

const std::string& Catalogue(std::int64_t rows) {
    static std::map<std::int64_t, std::string> paths;
    std::string& path = paths[rows];
    if (path.empty()) {
        path = CachedCatalogue(static_cast<long>(rows));
    }
    return path;
}

// Opens the database and a dynaset on `sql` and goes to its last record, as the form does.
void DaoOpenAndMoveLast(const std::string& path, const std::string& sql) {
    CDaoDatabase db;
    db.Open(path);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, sql);
    if (rs.GetRecordCount() > 0) {
        rs.MoveLast();
    }
    benchmark::DoNotOptimize(rs.GetAbsolutePosition());
}

void MeasureOpen(benchmark::State& state, const char* plainSql, const std::string& sql) {
    const std::string& path = Catalogue(state.range(0));
    const auto plain = [&] {
        sqlite3* db = OpenPlainLikeTheStore(path);
        benchmark::DoNotOptimize(PlainOpenWork(db, plainSql));
        sqlite3_close_v2(db);
    };
    try {
        DaoOpenAndMoveLast(path, sql);  // a writable file gets its change log the first time
        MeasureInTurn(state,
                      std::string("SQLite keeps the keys of \"") + plainSql +
                          "\" and reads the first row (same flags, mapping)",
                      plain, [&] { DaoOpenAndMoveLast(path, sql); });
    } catch (CDaoException* e) {
        state.SkipWithError(e->GetErrorMessage().c_str());
        e->Delete();
    }
}

void DaoSelectAll(benchmark::State& state) {
    MeasureOpen(state, "SELECT ID FROM Zeitschriften", "SELECT * FROM Zeitschriften");
}

// SQLite's own LIKE; the dialect's also folds umlauts and reads '*' and '?'.
void DaoLike(benchmark::State& state) {
    MeasureOpen(state, "SELECT ID FROM Zeitschriften WHERE Artikelname LIKE '%motor%'",
                "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like "
                "'*motor*'))");
}

// The dialect's function without the record set, to tell their costs apart.
void RawLikeDialect(benchmark::State& state) {
    const std::string& path = Catalogue(state.range(0));
    for (auto _ : state) {
        sqlite3* db = OpenPlainLikeTheStore(path);
        InstallLikeDialect(db);
        benchmark::DoNotOptimize(
            PlainOpenWork(db, "SELECT ID FROM Zeitschriften WHERE Artikelname Like '*motor*'"));
        sqlite3_close_v2(db);
    }
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

BENCHMARK(DaoSelectAll)->Apply(Sizes);
BENCHMARK(DaoSelectAll)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(DaoLike)->Apply(Sizes);
BENCHMARK(DaoLike)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(RawLikeDialect)->Apply(Sizes);
BENCHMARK(DaoEditUnchangedAndMoveNext)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
