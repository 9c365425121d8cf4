#include "JetHeader.h"

#include <QtEndian>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr char kJetMagic[] = "\x00\x01\x00\x00Standard Jet DB";
constexpr char kAceMagic[] = "\x00\x01\x00\x00Standard ACE DB";
constexpr qsizetype kMagicSize = 20;  // the four bytes and the name with its terminating zero
constexpr qsizetype kVersionAt = 0x14;
// The part of the first page that the engine scrambles with a fixed RC4 key.
constexpr qsizetype kScrambledAt = 0x18;
constexpr qsizetype kKeyAt = 0x3e;
constexpr qsizetype kPasswordAt = 0x42;
constexpr qsizetype kCreationDateAt = 0x72;

// RC4 with the engine's fixed key, applied to the header in place.
void Unscramble(unsigned char* data, qsizetype size) {
    const std::array<unsigned char, 4> key{0xC7, 0xDA, 0x39, 0x6B};
    std::array<unsigned char, 256> state{};
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<unsigned char>(i);
    }
    unsigned char j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<unsigned char>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    unsigned char x = 0;
    unsigned char y = 0;
    for (qsizetype n = 0; n < size; ++n) {
        x = static_cast<unsigned char>(x + 1);
        y = static_cast<unsigned char>(y + state[x]);
        std::swap(state[x], state[y]);
        data[n] ^= state[static_cast<unsigned char>(state[x] + state[y])];
    }
}

}  // namespace

bool JetHeader::Matches(QByteArrayView start) {
    if (start.size() < kSignatureSize) {
        return false;
    }
    const bool magic = std::memcmp(start.data(), kJetMagic, kMagicSize) == 0 ||
                       std::memcmp(start.data(), kAceMagic, kMagicSize) == 0;
    // 0 is Jet 3, 1 Jet 4, 2 and above the ACE versions up to this day's.
    return magic && static_cast<unsigned char>(start[kVersionAt]) <= 6;
}

JetHeader JetHeader::Parse(QByteArrayView start) {
    JetHeader header;
    const auto version = static_cast<unsigned char>(start[kVersionAt]);
    header.m_format = version == 0 ? Format::Jet3 : version == 1 ? Format::Jet4 : Format::Ace;
    if (start.size() < kSize) {
        return header;
    }

    std::array<unsigned char, kSize> page{};
    std::memcpy(page.data(), start.data(), kSize);
    const qsizetype scrambled = header.m_format == Format::Jet3 ? 126 : 128;
    Unscramble(page.data() + kScrambledAt, scrambled);

    header.m_bEncoded = qFromLittleEndian<quint32>(page.data() + kKeyAt) != 0;
    // Jet 3 keeps the password as it is; the later formats mask each of its bytes with the
    // database's creation date, a whole number of days, so that an empty one reads as the mask.
    std::array<unsigned char, 4> mask{};
    qsizetype passwordSize = 20;
    if (header.m_format != Format::Jet3) {
        passwordSize = 40;
        const auto created =
            std::bit_cast<double>(qFromLittleEndian<quint64>(page.data() + kCreationDateAt));
        const auto days =
            std::isfinite(created) && std::abs(created) < 1e9 ? static_cast<qint32>(created) : 0;
        qToLittleEndian(days, mask.data());
    }
    for (qsizetype i = 0; i < passwordSize; ++i) {
        header.m_bPassword = header.m_bPassword || (page[kPasswordAt + i] ^ mask[i % 4]) != 0;
    }
    return header;
}

QString JetHeader::FormatName() const {
    switch (m_format) {
        case Format::Jet3:
            return QStringLiteral("Jet-3-Datenbank");
        case Format::Jet4:
            return QStringLiteral("Jet-4-Datenbank");
        case Format::Ace:
            return QStringLiteral("ACE-Datenbank");
    }
    return {};
}
