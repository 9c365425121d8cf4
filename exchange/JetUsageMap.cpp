#include "JetUsageMap.h"

#include <QtEndian>

namespace {

constexpr char kBitmapMap = 0;
constexpr char kPagesMap = 1;
constexpr int kBitmapMapHeader = 5;  // the type and the first page
constexpr int kMapPageHeader = 4;    // the page type and three bytes before the bitmap

}  // namespace

JetUsageMap::JetUsageMap(QByteArray map, unsigned long pages, int pageSize, PageReader readPage)
    : m_map(std::move(map)),
      m_nPages(pages),
      m_nPageSize(pageSize),
      m_readPage(std::move(readPage)) {}

unsigned long JetUsageMap::NextInBitmap(const unsigned char* bitmap, unsigned long bits,
                                        unsigned long first, unsigned long from) const {
    for (unsigned long bit = from; bit < bits; ++bit) {
        if (bitmap[bit / 8] & (1u << (bit % 8))) {
            return first + bit;
        }
    }
    return 0;
}

unsigned long JetUsageMap::Next(unsigned long page, bool& valid) const {
    valid = true;
    const auto* map = reinterpret_cast<const unsigned char*>(m_map.constData());
    const auto size = static_cast<unsigned long>(m_map.size());
    if (size >= kBitmapMapHeader && m_map[0] == kBitmapMap) {
        const unsigned long first = qFromLittleEndian<quint32>(map + 1);
        const unsigned long from = page >= first ? page - first + 1 : 0;
        return NextInBitmap(map + kBitmapMapHeader, (size - kBitmapMapHeader) * 8, first, from);
    }
    if (size >= 1 && m_map[0] == kPagesMap) {
        const unsigned long bits = static_cast<unsigned long>(m_nPageSize - kMapPageHeader) * 8;
        for (unsigned long index = (page + 1) / bits; 1 + (index + 1) * 4 <= size; ++index) {
            const unsigned long mapPage = qFromLittleEndian<quint32>(map + 1 + index * 4);
            if (mapPage == 0) {
                continue;
            }
            if (mapPage >= m_nPages) {
                return mapPage;
            }
            const unsigned char* bitmap = m_readPage(mapPage);
            if (!bitmap) {
                valid = false;
                return 0;
            }
            const unsigned long from = index == (page + 1) / bits ? (page + 1) % bits : 0;
            if (const unsigned long next =
                    NextInBitmap(bitmap + kMapPageHeader, bits, index * bits, from)) {
                return next;
            }
        }
        return 0;
    }
    valid = false;
    return 0;
}
