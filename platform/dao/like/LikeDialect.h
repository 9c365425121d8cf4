#pragma once

#include <string>
#include <string_view>

// The desktop engine's LIKE: `*` any run of characters, `?` one character, `#` one digit,
// `[abc]`, `[a-z]` and `[!abc]` character lists (inside a list `*`, `?`, `#` and `[` stand for
// themselves). Letters are compared without regard to case, umlauts and other accented Latin,
// Greek and Cyrillic letters included. Text is UTF-8.
bool LikeMatch(std::string_view pattern, std::string_view text);

// A pattern that matches `text` and nothing else but its case variants: each pattern character
// stands in a list of its own.
std::string LikeLiteral(std::string_view text);
