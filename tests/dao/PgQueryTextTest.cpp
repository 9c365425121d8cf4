#include <gtest/gtest.h>

#include "LikeRegex.h"
#include "PgQueryText.h"
#include "ScratchDatabase.h"

namespace {

TEST(PgQueryText, PlaceholdersAndPatternsBecomeBoundValues) {
    const PgQueryText text = TranslateForServer(
        "SELECT * FROM t WHERE a Like ? AND b NOT LIKE 'x''*' AND c = '?' AND \"d?\" = ?",
        {"*M*", "5"});
    EXPECT_EQ(text.sql, "SELECT * FROM t WHERE a ~ $1 AND b !~ $2 AND c = '?' AND \"d?\" = $3");
    EXPECT_EQ(text.values, std::vector<std::string>({LikeRegex(LikePattern("*M*")),
                                                     LikeRegex(LikePattern("x'*")), "5"}));
    EXPECT_FALSE(text.ordered);
    EXPECT_TRUE(TranslateForServer("SELECT * FROM t ORDER BY a", {}).ordered);
}

TEST(PgQueryText, RefusesWhatItCannotBindSafely) {
    EXPECT_EQ(ErrorCode([] { TranslateForServer("SELECT * FROM t WHERE a = ?", {}); }), 25);
    EXPECT_EQ(ErrorCode([] { TranslateForServer("SELECT * FROM t", {"x"}); }), 25);
    // A pattern taken from a column could not be translated before the server sees it.
    EXPECT_EQ(ErrorCode([] { TranslateForServer("SELECT * FROM t WHERE a Like b", {}); }), 1);
    EXPECT_EQ(ErrorCode([] { TranslateForServer("SELECT * FROM t WHERE a = 'x", {}); }), 1);
}

}  // namespace
