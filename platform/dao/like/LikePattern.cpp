#include "LikePattern.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "CaseFold.h"
#include "Utf8.h"

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

// The long s in UTF-8. 0xC5 never continues a character, so wherever these two bytes stand
// they are the long s.
constexpr std::string_view kLongSUtf8 = "\xC5\xBF";

std::uint64_t Load8(std::string_view text, std::size_t pos) {
    std::uint64_t bytes;
    std::memcpy(&bytes, text.data() + pos, 8);
    return bytes;
}

// The lanes of `bytes` that hold the key's byte, in either case for a letter, as their top bits.
std::uint64_t MatchingLanes(std::uint64_t bytes, std::uint64_t value, std::uint64_t caseBits) {
    const std::uint64_t diff = (bytes | caseBits) ^ value;
    // Exact for every lane, unlike the usual zero-byte test: adding 0x7F to the low seven bits
    // cannot carry into the next lane, so a match never spills over to its neighbour.
    return ~(((diff & kEveryByte(0x7F)) + kEveryByte(0x7F)) | diff) & kEveryByte(0x80);
}

// The offset in memory of the lane that holds the lowest bit set in `lanes`.
std::size_t LowestLane(std::uint64_t lanes) {
    const auto lane = static_cast<std::size_t>(std::countr_zero(lanes)) / 8;
    return std::endian::native == std::endian::little ? lane : 7 - lane;
}

unsigned char FoldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 0x20) : byte;
}

}  // namespace

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
    m_isAsciiContains = std::all_of(m_contains.begin(), m_contains.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80;
    });
    const auto key = [](char byte) {
        const auto folded = static_cast<unsigned char>(byte);
        const bool letter = folded >= 'a' && folded <= 'z';
        return ByteKey{kEveryByte(folded), kEveryByte(letter ? 0x20 : 0)};
    };
    m_firstKey = key(m_contains.front());
    m_lastKey = key(m_contains.back());
}

bool LikePattern::Matches(std::string_view text) const {
    return m_isContains ? Contains(text) : MatchesTokens(text);
}

bool LikePattern::Contains(std::string_view text) const {
    // Characters beyond ASCII fold to characters beyond ASCII, except for the long s, so an
    // ASCII literal needs the folded text only if the long s is in it.
    if (m_isAsciiContains && text.find(kLongSUtf8) == std::string_view::npos) {
        return ContainsAscii(text);
    }
    // A buffer reused across calls keeps the per-row cost to one folding pass and a substring
    // search, without allocating.
    thread_local std::string buffer;
    if (buffer.size() < 2 * text.size() + 8) {
        buffer.resize(2 * text.size() + 8);
    }
    const std::size_t size = FoldText(text, buffer.data());
    return std::string_view(buffer.data(), size).find(m_contains) != std::string_view::npos;
}

bool LikePattern::AsciiMatchAt(std::string_view text, std::size_t pos) const {
    for (std::size_t i = 0; i < m_contains.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[pos + i])) !=
            static_cast<unsigned char>(m_contains[i])) {
            return false;
        }
    }
    return true;
}

// An ASCII byte is always a character of its own, never part of a longer one, so the literal
// is in the folded text exactly where the text's ASCII bytes spell it in either case.
bool LikePattern::ContainsAscii(std::string_view text) const {
    if (text.size() < m_contains.size()) {
        return false;
    }
    const std::size_t lastStart = text.size() - m_contains.size();
    if (lastStart < 7) {
        for (std::size_t pos = 0; pos <= lastStart; ++pos) {
            if (AsciiMatchAt(text, pos)) {
                return true;
            }
        }
        return false;
    }
    // The final block overlaps the one before rather than reading past the text.
    for (std::size_t block = 0;; block = std::min(block + 8, lastStart - 7)) {
        std::uint64_t candidates =
            MatchingLanes(Load8(text, block), m_firstKey.value, m_firstKey.caseBits) &
            MatchingLanes(Load8(text, block + m_contains.size() - 1), m_lastKey.value,
                          m_lastKey.caseBits);
        for (; candidates != 0; candidates &= candidates - 1) {
            if (AsciiMatchAt(text, block + LowestLane(candidates))) {
                return true;
            }
        }
        if (block == lastStart - 7) {
            return false;
        }
    }
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

bool LikePattern::IsTooLong(std::string_view pattern) {
    std::size_t characters = 0;
    for (const char byte : pattern) {
        // Every UTF-8 character has one byte that does not continue another.
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80 && ++characters > kMaxCharacters) {
            return true;
        }
    }
    return false;
}
