#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "CDaoDatabase.h"
#include "LikeDialect.h"
#include "ScratchDatabase.h"

namespace {

struct LikeCase {
    const char* pattern;
    const char* text;
    bool matches;
};

void PrintTo(const LikeCase& c, std::ostream* os) {
    *os << "'" << c.text << "' Like '" << c.pattern << "'";
}

class LikeMatchTest : public testing::TestWithParam<LikeCase> {};

TEST_P(LikeMatchTest, FollowsTheDialect) {
    EXPECT_EQ(LikeMatch(GetParam().pattern, GetParam().text), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, LikeMatchTest,
    testing::Values(LikeCase{"", "", true}, LikeCase{"", "a", false}, LikeCase{"*", "", true},
                    LikeCase{"**", "Motor", true}, LikeCase{"*otor*", "Motorrad", true},
                    LikeCase{"*otor*", "Moto", false}, LikeCase{"*or", "Motoren", false},
                    LikeCase{"M*t*r", "Motor", true}, LikeCase{"?", "", false},
                    LikeCase{"M?tor", "Mtor", false}, LikeCase{"*a*a*b", "aaaab", true},
                    LikeCase{"Heft #", "Heft 7", true}, LikeCase{"Heft #", "Heft x", false},
                    LikeCase{"Motor", "Motorrad", false}));

INSTANTIATE_TEST_SUITE_P(
    Lists, LikeMatchTest,
    testing::Values(LikeCase{"[abc]x", "bx", true}, LikeCase{"[abc]x", "dx", false},
                    LikeCase{"[a-c]x", "Bx", true}, LikeCase{"[A-C]x", "bx", true},
                    LikeCase{"[!a-c]x", "dx", true}, LikeCase{"[!a-c]x", "Ax", false},
                    LikeCase{"a!b", "a!b", true},
                    // Inside a list the wildcards and `[` are themselves.
                    LikeCase{"[*]", "*", true}, LikeCase{"[*]", "x", false},
                    LikeCase{"[#]", "#", true}, LikeCase{"[#]", "5", false},
                    LikeCase{"[[]", "[", true},
                    // The list ends at the first `]`; `[]` stands for no character at all,
                    // so `[]]` is a literal `]`. `]` alone and an unclosed `[` are literals.
                    LikeCase{"a[]b", "ab", true}, LikeCase{"[]]", "]", true},
                    LikeCase{"a]", "a]", true}, LikeCase{"[ab", "[ab", true},
                    LikeCase{"[!]", "x", true}, LikeCase{"[!]", "", false}));

INSTANTIATE_TEST_SUITE_P(
    CaseAndScripts, LikeMatchTest,
    testing::Values(LikeCase{"MOTOR", "motor", true}, LikeCase{"*über*", "ÜBERSICHT", true},
                    LikeCase{"*ÜBER*", "Rückblick: über", true}, LikeCase{"ä", "Ä", true},
                    LikeCase{"É*", "échec", true}, LikeCase{"ß", "ẞ", true},
                    LikeCase{"ß", "ss", false}, LikeCase{"×", "÷", false},
                    LikeCase{"ŁÓDŹ", "łódź", true}, LikeCase{"ΑΘΉΝΑ", "αθήνα", true},
                    LikeCase{"*σ", "ΟΔΟΣ", true}, LikeCase{"МОСКВА", "москва", true},
                    LikeCase{"[à-ü]", "Ö", true},
                    // `?` is one character however many bytes it takes.
                    LikeCase{"?", "ä", true}, LikeCase{"??", "ä", false},
                    LikeCase{"M??", "M€🙂", true}, LikeCase{"*?", "🙂", true}));

TEST(LikeMatch, TakesMalformedUtf8AsLatin1) {
    EXPECT_TRUE(LikeMatch("?", "\xC4"));
    EXPECT_TRUE(LikeMatch("*ä*", "K\xE4se"));    // "Käse" in Latin-1
    EXPECT_TRUE(LikeMatch("??x", "\xE2\x82x"));  // a truncated sequence: each byte a character
    EXPECT_FALSE(LikeMatch("*\xFF*", "abc"));
}

TEST(LikeMatch, BacktracksInLinearSteps) {
    const std::string text(100000, 'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(LikeMatch("*a*a*a*a*a*a*a*a*b", text));
    EXPECT_FALSE(LikeMatch("*aaaaaaaaaaaaaaab*", text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

class LikeInSql : public testing::Test {
protected:
    LikeInSql() {
        m_scratch.Exec(
            "INSERT INTO Zeitschriften (Artikelname) VALUES ('Motorrad'), ('ÜBERSICHT'), (NULL),"
            " ('100% Rotor')");
        m_db.Open(m_scratch.Path());
    }
    std::string Scalar(const std::string& sql) { return QueryScalar(m_db.Handle(), sql); }

    ScratchDatabase m_scratch;
    CDaoDatabase m_db;
};

TEST_F(LikeInSql, ReplacesTheBuiltinOperator) {
    EXPECT_EQ(Scalar("SELECT group_concat(ID) FROM Zeitschriften WHERE Artikelname Like '*otor*'"),
              "1,4");
    EXPECT_EQ(Scalar("SELECT count(*) FROM Zeitschriften WHERE Artikelname LIKE '%otor%'"), "0");
    EXPECT_EQ(Scalar("SELECT ID FROM Zeitschriften WHERE Artikelname Like '*über*'"), "2");
    EXPECT_EQ(Scalar("SELECT ID FROM Zeitschriften WHERE Artikelname Like '1##[%]*'"), "4");
    // NULL on either side is NULL, so neither Like nor Not Like selects the NULL title.
    EXPECT_EQ(Scalar("SELECT NULL LIKE 'a'"), "<null>");
    EXPECT_EQ(Scalar("SELECT 'a' LIKE NULL"), "<null>");
    EXPECT_EQ(Scalar("SELECT count(*) FROM Zeitschriften WHERE NOT Artikelname Like 'x'"), "3");
}

TEST_F(LikeInSql, PatternMayChangeFromRowToRow) {
    // The cached analysis must not outlive a pattern that is not a constant.
    EXPECT_EQ(Scalar("SELECT group_concat(t LIKE p) FROM (SELECT 'M*' AS p, 'Motor' AS t "
                     "UNION ALL SELECT 'R*', 'Motor' UNION ALL SELECT 'R*', 'Rotor')"),
              "1,0,1");
}

}  // namespace
