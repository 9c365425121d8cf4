#include "LikePattern.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "CaseFold.h"
#include "Utf8.h"

LikePattern::LikePattern(std::string_view pattern) {
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char32_t c = DecodeUtf8(pattern, pos);
        switch (c) {
            case U'*':
                // A run of stars matches what one star matches, and costs nothing to match.
                if (m_tokens.empty() || m_tokens.back().kind != Kind::Star) {
                    m_tokens.push_back({Kind::Star});
                }
                break;
            case U'?':
                m_tokens.push_back({Kind::AnyChar});
                break;
            case U'#':
                m_tokens.push_back({Kind::Digit});
                break;
            case U'[': {
                // The list runs to the first `]`, so `[[]` and `[*]` are the bracket and the
                // star themselves. A `[` that is never closed stands for itself.
                const std::size_t close = pattern.find(']', pos);
                if (close == std::string_view::npos) {
                    m_tokens.push_back({Kind::Literal, U'['});
                    break;
                }
                std::string_view items = pattern.substr(pos, close - pos);
                pos = close + 1;
                const bool negated = !items.empty() && items.front() == '!';
                ParseList(negated ? items.substr(1) : items, negated);
                break;
            }
            default:
                m_tokens.push_back({Kind::Literal, FoldCase(c)});
                break;
        }
    }
    DetectContains();
}

void LikePattern::ParseList(std::string_view items, bool negated) {
    std::vector<char32_t> chars;
    for (std::size_t pos = 0; pos < items.size();) {
        chars.push_back(DecodeUtf8(items, pos));
    }
    if (chars.empty()) {
        // `[]` stands for no character at all, as in the desktop engine; `[!]` is one
        // character that is not in an empty list, i.e. any.
        if (negated) {
            m_tokens.push_back({Kind::AnyChar});
        }
        return;
    }
    Token token{negated ? Kind::NegatedList : Kind::List};
    token.first = static_cast<std::uint32_t>(m_ranges.size());
    for (std::size_t i = 0; i < chars.size();) {
        // A `-` first or last in the list is itself.
        const bool isRange = i + 2 < chars.size() && chars[i + 1] == U'-';
        const char32_t low = chars[i];
        const char32_t high = isRange ? chars[i + 2] : low;
        m_ranges.push_back({low, high, FoldCase(low), FoldCase(high)});
        i += isRange ? 3 : 1;
    }
    token.count = static_cast<std::uint32_t>(m_ranges.size()) - token.first;
    m_tokens.push_back(token);
}

void LikePattern::DetectContains() {
    if (m_tokens.size() < 3 || m_tokens.front().kind != Kind::Star ||
        m_tokens.back().kind != Kind::Star) {
        return;
    }
    const auto inner = std::next(m_tokens.begin());
    const auto innerEnd = std::prev(m_tokens.end());
    if (!std::all_of(inner, innerEnd, [](const Token& t) { return t.kind == Kind::Literal; })) {
        return;
    }
    for (auto it = inner; it != innerEnd; ++it) {
        AppendUtf8(m_contains, it->folded);
    }
    m_isContains = true;
}

bool LikePattern::Matches(std::string_view text) const {
    return m_isContains ? Contains(text) : MatchesTokens(text);
}

namespace {

constexpr std::uint64_t kEveryByte(std::uint8_t value) {
    return 0x0101010101010101ull * value;
}

// Lower-cases eight ASCII bytes at once: a byte gets 0x20 added where it lies in 'A'..'Z'.
std::uint64_t FoldAsciiChunk(std::uint64_t bytes) {
    const std::uint64_t atLeastA = bytes + kEveryByte(0x80 - 'A');
    const std::uint64_t beyondZ = bytes + kEveryByte(0x80 - 'Z' - 1);
    const std::uint64_t upper = atLeastA & ~beyondZ & kEveryByte(0x80);
    return bytes | (upper >> 2);
}

// Writes the case-folded text to `out` and returns its size. `out` has room for twice the
// text's size plus 8: a byte taken as Latin-1 may grow to two, and ASCII is written eight
// bytes at a time, some of them past the end of what is kept.
std::size_t FoldText(std::string_view text, char* out) {
    std::size_t pos = 0;
    std::size_t size = 0;
    while (pos < text.size()) {
        const std::size_t available = std::min<std::size_t>(8, text.size() - pos);
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, text.data() + pos, available);
        const std::uint64_t high = chunk & kEveryByte(0x80);
        std::size_t ascii = available;
        if (high != 0) {
            ascii = (std::endian::native == std::endian::little ? std::countr_zero(high)
                                                                : std::countl_zero(high)) /
                    8;
        }
        const std::uint64_t folded = FoldAsciiChunk(chunk);
        std::memcpy(out + size, &folded, 8);
        size += ascii;
        pos += ascii;
        if (ascii < available) {
            size += EncodeUtf8(FoldCase(DecodeUtf8(text, pos)), out + size);
        }
    }
    return size;
}

}  // namespace

bool LikePattern::Contains(std::string_view text) const {
    // A buffer reused across calls keeps the per-row cost to one folding pass and a substring
    // search, without allocating.
    thread_local std::string buffer;
    if (buffer.size() < 2 * text.size() + 8) {
        buffer.resize(2 * text.size() + 8);
    }
    const std::size_t size = FoldText(text, buffer.data());
    return std::string_view(buffer.data(), size).find(m_contains) != std::string_view::npos;
}

bool LikePattern::InList(const Token& token, char32_t c) const {
    const char32_t folded = FoldCase(c);
    const auto first = m_ranges.begin() + token.first;
    return std::any_of(first, first + token.count, [&](const Range& r) {
        return (r.low <= c && c <= r.high) || (r.low <= folded && folded <= r.high) ||
               (r.foldedLow <= folded && folded <= r.foldedHigh);
    });
}

bool LikePattern::MatchesToken(const Token& token, char32_t c) const {
    switch (token.kind) {
        case Kind::Literal:
            return FoldCase(c) == token.folded;
        case Kind::AnyChar:
            return true;
        case Kind::Digit:
            return c >= U'0' && c <= U'9';
        case Kind::List:
            return InList(token, c);
        case Kind::NegatedList:
            return !InList(token, c);
        case Kind::Star:
            break;
    }
    return false;
}

bool LikePattern::MatchesTokens(std::string_view text) const {
    // Every token but the star matches exactly one character, so on a mismatch it suffices to
    // let the latest star take one more character and retry from there: earlier stars never
    // need to be revisited. This bounds the work by text length times pattern length.
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t token = 0;
    std::size_t pos = 0;
    std::size_t starToken = none;
    std::size_t starPos = 0;
    while (pos < text.size() || token < m_tokens.size()) {
        if (token < m_tokens.size()) {
            if (m_tokens[token].kind == Kind::Star) {
                starToken = token++;
                starPos = pos;
                continue;
            }
            if (pos < text.size()) {
                std::size_t next = pos;
                if (MatchesToken(m_tokens[token], DecodeUtf8(text, next))) {
                    ++token;
                    pos = next;
                    continue;
                }
            }
        }
        if (starToken == none || starPos >= text.size()) {
            return false;
        }
        DecodeUtf8(text, starPos);
        pos = starPos;
        token = starToken + 1;
    }
    return true;
}
