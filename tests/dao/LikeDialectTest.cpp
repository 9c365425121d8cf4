#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CaseFold.h"
#include "LikeDialect.h"
#include "LikeRegex.h"
#include "ScratchDatabase.h"
#include "SqliteHandleOf.h"
#include "Utf8.h"
#include "server/TestServer.h"

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

// The server evaluates the dialect as a regular expression; every case must come out the same.
TEST_P(LikeMatchTest, FollowsTheDialectOnTheServer) {
    REQUIRE_TEST_SERVER();
    std::string reencoded;
    const std::string_view text = GetParam().text;
    for (std::size_t pos = 0; pos < text.size();) {
        AppendUtf8(reencoded, DecodeUtf8(text, pos));
    }
    if (reencoded != text) {
        GTEST_SKIP() << "a server holds UTF-8 text only";
    }
    const std::string regex = LikeRegex(LikePattern(GetParam().pattern));
    EXPECT_EQ(TestServer::Scalar("SELECT $1::text ~ $2::text", {GetParam().text, regex}),
              GetParam().matches ? "t" : "f")
        << regex;
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
                    LikeCase{"[!]", "x", true}, LikeCase{"[!]", "", false},
                    // A backslash is no escape in the dialect, but it is one in the server's
                    // regular expressions.
                    LikeCase{"C:\\x", "C:\\x", true}, LikeCase{"C:\\x", "C:x", false},
                    LikeCase{"[\\]", "\\", true}, LikeCase{"*\\*", "a\\b", true}));

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

// `*literal*` with an ASCII literal is searched for in the unfolded text, eight bytes at a time.
INSTANTIATE_TEST_SUITE_P(
    AsciiContains, LikeMatchTest,
    testing::Values(
        LikeCase{"*motor*", "Motorsport", true}, LikeCase{"*MOTOR*", "Der Elektromotor", true},
        LikeCase{"*motor*", "Neue MoToRen im Test", true},
        LikeCase{"*motor*", "Über Größe und Motoröle", true},
        LikeCase{"*motor*", "Motomotor", true}, LikeCase{"*motor*", "Mötör", false},
        LikeCase{"*motor*", "moto", false}, LikeCase{"*motor*", "", false},
        LikeCase{"*x*", "...............................X", true},
        LikeCase{"*datensicherung*", "Kaufberatung: DATENSICHERUNG im Vergleich", true},
        LikeCase{"*se*", "K\xE4se", true},
        // The long s folds to s, so a text that holds it has to be folded after all.
        LikeCase{"*sport*", "Motorſport", true}, LikeCase{"*SS*", "Straſſe", true},
        LikeCase{"*ſ*", "Haus", true}, LikeCase{"*ss*", "Straſe", false},
        // Only letters have a case: `[` and `{`, `@` and a backtick differ by the case bit.
        LikeCase{"*c++*", "C++ für Umsteiger", true}, LikeCase{"*c++*", "C+ und C", false},
        LikeCase{"*50%*", "Bis zu 50% weniger", true}, LikeCase{"*50%*", "50 Prozent", false},
        LikeCase{"*a{b*", "A[B", false}, LikeCase{"*a@b*", "A`B", false}));

TEST(LikeMatch, ContainsSearchAgreesWithTheGeneralMatcher) {
    // A list keeps a pattern off the contains search, so `*[m]otor*` asks what `*motor*` asks,
    // the slow way. Texts are made of pieces that meet the search's edge cases: letters that
    // fold into ASCII or only look as if, bytes that are no UTF-8, and lengths on both sides
    // of the eight-byte blocks.
    const std::vector<std::string> pieces = {"Motor",  "mOTOR", "moto", " ",    "s",   "S",
                                             "r",      "+",     "%",    "ö",    "Ü",   "ſ",
                                             "\u212A", "K",     "\xE4", "\xC5", "\xBF"};
    const std::vector<std::pair<std::string, std::string>> needles = {
        {"m", "otor"}, {"t", "or"}, {"s", ""}, {"s", "s"}, {"r", " m"},
        {"o", "rs"},   {"+", "+"},  {"%", ""}, {"ö", "r"}, {"ſ", "s"}};
    std::vector<std::string> texts = {""};
    for (std::size_t i = 0; i < texts.size() && texts.size() < 2000; ++i) {
        for (const std::string& piece : pieces) {
            texts.push_back(texts[i] + piece);
        }
    }
    std::uint32_t random = 1;
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (int n = 0; n < 12; ++n) {
            random = random * 1664525u + 1013904223u;
            text += pieces[(random >> 16) % pieces.size()];
        }
        texts.push_back(text);
    }
    int mismatches = 0;
    for (const auto& [head, tail] : needles) {
        for (const std::string& text : texts) {
            const bool contains = LikeMatch("*" + head + tail + "*", text);
            if (contains != LikeMatch("*[" + head + "]" + tail + "*", text) && ++mismatches <= 5) {
                ADD_FAILURE() << "'" << text << "' Like '*" << head << tail << "*' gave "
                              << contains;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(LikeMatch, OnlyTheLongSFoldsIntoAscii) {
    // The contains search folds a text for an ASCII literal only if the long s is in it.
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (FoldCase(c) < 0x80 && c != kLongS) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c)
                          << " folds into ASCII";
        }
    }
}

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
    std::string Scalar(const std::string& sql) { return QueryScalar(SqliteHandleOf(m_db), sql); }

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

TEST(LikeLiteral, MatchesExactlyItsTextAndItsCaseVariants) {
    for (const char* text : {"", "100% [Rotor]", "a*b?c#d[e]f", "[!x]", "Öl ist ÖL", "[a-c]"}) {
        const std::string pattern = LikeLiteral(text);
        EXPECT_TRUE(LikeMatch(pattern, text)) << text;
        EXPECT_FALSE(LikeMatch(pattern, std::string(text) + "x")) << text;
    }
    EXPECT_TRUE(LikeMatch(LikeLiteral("öl*"), "ÖL*"));
    // The pattern characters no longer widen the search.
    EXPECT_FALSE(LikeMatch(LikeLiteral("a*"), "ab"));
    EXPECT_FALSE(LikeMatch(LikeLiteral("a?"), "ab"));
    EXPECT_FALSE(LikeMatch(LikeLiteral("#"), "5"));
    EXPECT_FALSE(LikeMatch(LikeLiteral("[ab]"), "a"));
}
