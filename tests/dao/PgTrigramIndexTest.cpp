#include <gtest/gtest.h>

#include <string>

#include "PgQueryText.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"

namespace {

// The article query as the program sends it reaches its rows through the trigram index instead
// of reading every article: the case variants in the expression must leave the index its
// trigrams, so that a selective pattern leaves the recheck nothing to throw away.
TEST(PgTrigramIndex, TheArticleQueryFindsItsRowsThroughTheIndex) {
    REQUIRE_TEST_SERVER();
    const std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    catalogue->Exec(
        "INSERT INTO Zeitschriften (Artikelname) SELECT CASE WHEN i % 100 = 0"
        " THEN 'Motorräder im Test ' ELSE 'Bericht ' END || i FROM generate_series(1, 5000) AS i;"
        " ANALYZE Zeitschriften; SET enable_seqscan = off;"
        " CREATE FUNCTION plan_of(query text) RETURNS text LANGUAGE plpgsql AS $$"
        " DECLARE line text; plan text := ''; BEGIN"
        " FOR line IN EXECUTE 'EXPLAIN (ANALYZE, COSTS OFF) ' || query LOOP"
        " plan := plan || line || E'\\n'; END LOOP; RETURN plan; END $$");
    for (const char* pattern : {"*motor*", "*MOTORRÄDER*", "Motorr?der im Test*"}) {
        const PgQueryText query = TranslateForServer(
            "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like ?))", {pattern});
        std::string sql = query.sql;
        sql.replace(sql.find("$1"), 2, "$r$" + query.values.at(0) + "$r$");
        const std::string plan = catalogue->Scalar("SELECT plan_of($q$" + sql + "$q$)");
        EXPECT_NE(plan.find("Bitmap Index Scan on zeitschriften_artikelname_trgm"),
                  std::string::npos)
            << pattern << "\n"
            << plan;
        EXPECT_EQ(plan.find("Rows Removed by Index Recheck"), std::string::npos) << pattern << "\n"
                                                                                 << plan;
        EXPECT_NE(plan.find("rows=50 "), std::string::npos) << pattern << "\n" << plan;
    }
}

}  // namespace
