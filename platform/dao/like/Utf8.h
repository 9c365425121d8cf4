#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Decodes the character at `pos` and moves `pos` past it. A byte that does not begin a
// well-formed UTF-8 sequence counts as the Latin-1 character of the same value: catalogues
// converted from 8-bit code pages still compare sensibly, and nothing is ever skipped.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Writes `c` to `out`, which has room for 4 bytes, and returns the number of bytes written.
std::size_t EncodeUtf8(char32_t c, char* out);

void AppendUtf8(std::string& out, char32_t c);
