#include "Utf8.h"

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const std::size_t left = text.size() - pos;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF && left >= 2 && IsContinuation(byte(pos + 1))) {
        const char32_t c = (char32_t{lead & 0x1Fu} << 6) | (byte(pos + 1) & 0x3Fu);
        pos += 2;
        return c;
    }
    if (lead >= 0xE0 && lead <= 0xEF && left >= 3) {
        const unsigned char second = byte(pos + 1);
        // Overlong forms and UTF-16 surrogates are not well-formed.
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        if (second >= low && second <= high && IsContinuation(byte(pos + 2))) {
            const char32_t c = (char32_t{lead & 0x0Fu} << 12) | (char32_t{second & 0x3Fu} << 6) |
                               (byte(pos + 2) & 0x3Fu);
            pos += 3;
            return c;
        }
    }
    if (lead >= 0xF0 && lead <= 0xF4 && left >= 4) {
        const unsigned char second = byte(pos + 1);
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        if (second >= low && second <= high && IsContinuation(byte(pos + 2)) &&
            IsContinuation(byte(pos + 3))) {
            const char32_t c = (char32_t{lead & 0x07u} << 18) | (char32_t{second & 0x3Fu} << 12) |
                               (char32_t{byte(pos + 2) & 0x3Fu} << 6) | (byte(pos + 3) & 0x3Fu);
            pos += 4;
            return c;
        }
    }
    ++pos;
    return lead;
}

std::size_t EncodeUtf8(char32_t c, char* out) {
    const auto put = [&](std::size_t i, char32_t bits) { out[i] = static_cast<char>(bits); };
    if (c < 0x80) {
        put(0, c);
        return 1;
    }
    if (c < 0x800) {
        put(0, 0xC0 | (c >> 6));
        put(1, 0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        put(0, 0xE0 | (c >> 12));
        put(1, 0x80 | ((c >> 6) & 0x3F));
        put(2, 0x80 | (c & 0x3F));
        return 3;
    }
    put(0, 0xF0 | (c >> 18));
    put(1, 0x80 | ((c >> 12) & 0x3F));
    put(2, 0x80 | ((c >> 6) & 0x3F));
    put(3, 0x80 | (c & 0x3F));
    return 4;
}

void AppendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, EncodeUtf8(c, bytes));
}
