#include "LikeRegex.h"

#include <array>

#include "CaseFold.h"
#include "Utf8.h"

namespace {

// Every character whose fold differs from itself, i.e. the upper-case side of each pair and
// the few odd folds (long s, micro sign, final sigma, capital sharp s).
const std::vector<char32_t>& FoldingCharacters() {
    static const std::vector<char32_t> characters = [] {
        std::vector<char32_t> list;
        constexpr std::array<std::pair<char32_t, char32_t>, 6> blocks{{{0x41, 0x5A},
                                                                       {0xB5, 0xB5},
                                                                       {0xC0, 0x17F},
                                                                       {0x386, 0x3C2},
                                                                       {0x400, 0x42F},
                                                                       {0x1E9E, 0x1E9E}}};
        for (const auto& [first, last] : blocks) {
            for (char32_t c = first; c <= last; ++c) {
                if (FoldCase(c) != c) {
                    list.push_back(c);
                }
            }
        }
        return list;
    }();
    return characters;
}

// One character as a member of a bracket expression. In the advanced syntax a backslash
// escapes inside brackets too, so every ASCII punctuation character is escaped and none can
// start a range, a class or end the list.
void AppendMember(std::string& out, char32_t c) {
    if (c < 0x80 &&
        !((c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'))) {
        out += '\\';
    }
    AppendUtf8(out, c);
}

void AppendRange(std::string& out, char32_t low, char32_t high) {
    AppendMember(out, low);
    if (high != low) {
        out += '-';
        AppendMember(out, high);
    }
}

}  // namespace

std::string LikeRegex(const LikePattern& pattern) {
    using Kind = LikePattern::Kind;
    std::string regex = "^";
    for (const LikePattern::Token& token : pattern.Tokens()) {
        switch (token.kind) {
            case Kind::Star:
                regex += ".*";
                break;
            case Kind::AnyChar:
                regex += '.';
                break;
            case Kind::Digit:
                regex += "[0-9]";
                break;
            case Kind::Literal:
                regex += '[';
                AppendMember(regex, token.folded);
                for (char32_t c : FoldingCharacters()) {
                    if (FoldCase(c) == token.folded) {
                        AppendMember(regex, c);
                    }
                }
                regex += ']';
                break;
            case Kind::List:
            case Kind::NegatedList: {
                // A character is in the list when it, or its fold, lies in a range as written
                // or in the range of the folds of its ends (see InList).
                std::string members;
                const auto first = pattern.Ranges().begin() + token.first;
                for (auto r = first; r != first + token.count; ++r) {
                    if (r->low <= r->high) {
                        AppendRange(members, r->low, r->high);
                    }
                    if (r->foldedLow <= r->foldedHigh) {
                        AppendRange(members, r->foldedLow, r->foldedHigh);
                    }
                    for (char32_t c : FoldingCharacters()) {
                        const char32_t folded = FoldCase(c);
                        if ((r->low <= folded && folded <= r->high) ||
                            (r->foldedLow <= folded && folded <= r->foldedHigh)) {
                            AppendMember(members, c);
                        }
                    }
                }
                if (members.empty()) {
                    // Nothing is in the list: a list matches no character, a negated one any.
                    regex += token.kind == Kind::List ? "\\y\\Y" : ".";
                } else {
                    regex += token.kind == Kind::List ? "[" : "[^";
                    regex += members + "]";
                }
                break;
            }
        }
    }
    return regex + "$";
}
