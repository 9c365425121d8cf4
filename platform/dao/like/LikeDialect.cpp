#include "LikeDialect.h"

#include "LikePattern.h"

bool LikeMatch(std::string_view pattern, std::string_view text) {
    return LikePattern(pattern).Matches(text);
}

std::string LikeLiteral(std::string_view text) {
    std::string pattern;
    pattern.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[') {
            pattern += '[';
            pattern += c;
            pattern += ']';
        } else {
            pattern += c;
        }
    }
    return pattern;
}
