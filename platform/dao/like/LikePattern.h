#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A LIKE pattern of the desktop engine's dialect, analysed once so that it can be matched
// against many texts.
class LikePattern {
public:
    explicit LikePattern(std::string_view pattern);

    // The longest pattern that an engine takes, in characters. Any search the program makes
    // fits (an escaped search text of the longest kind is about three times as long); a longer
    // one could only keep the engine busy.
    static constexpr std::size_t kMaxCharacters = 1024;
    static bool IsTooLong(std::string_view pattern);

    bool Matches(std::string_view text) const;

    // The analysed pattern, for an engine that evaluates the dialect in its own terms.
    enum class Kind : std::uint8_t { Literal, AnyChar, Digit, Star, List, NegatedList };

    struct Token {
        Kind kind;
        char32_t folded = 0;      // Literal
        std::uint32_t first = 0;  // List, NegatedList: their ranges in Ranges()
        std::uint32_t count = 0;
    };

    // One entry of a character list; a single character is a range of one. A character is in
    // the list when it, or its fold, lies between the ends as written or between their folds.
    struct Range {
        char32_t low, high;
        char32_t foldedLow, foldedHigh;
    };

    const std::vector<Token>& Tokens() const { return m_tokens; }
    const std::vector<Range>& Ranges() const { return m_ranges; }

private:
    void ParseList(std::string_view items, bool negated);
    void DetectContains();
    bool MatchesToken(const Token& token, char32_t c) const;
    bool InList(const Token& token, char32_t c) const;
    bool MatchesTokens(std::string_view text) const;
    bool Contains(std::string_view text) const;
    bool ContainsAscii(std::string_view text) const;
    bool AsciiMatchAt(std::string_view text, std::size_t pos) const;

    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges;
    // Patterns `*literal*`, the usual "contains" search, are a plain substring search in the
    // case-folded text; m_contains is the folded literal.
    bool m_isContains = false;
    std::string m_contains;

    // A literal of ASCII alone, as nearly every search is, can be looked for in the text as it
    // is, without writing a folded copy. Candidates are where the literal's first and last
    // bytes match, eight starts at a time; a key holds its byte in every lane and, for a
    // letter, the case bit that makes upper and lower case alike.
    struct ByteKey {
        std::uint64_t value = 0;
        std::uint64_t caseBits = 0;
    };
    bool m_isAsciiContains = false;
    ByteKey m_firstKey;
    ByteKey m_lastKey;
};
