#pragma once

#include <QByteArray>
#include <functional>

// The list of pages that belong to a table, as its definition keeps it: either one bitmap of
// pages from a first page on (type 0), or a list of bitmap pages that each cover a run of pages
// (type 1). No page beyond the file's end is ever read.
class JetUsageMap {
public:
    // Reads a whole page of the file; null when it cannot.
    using PageReader = std::function<const unsigned char*(unsigned long page)>;

    JetUsageMap(QByteArray map, unsigned long pages, int pageSize, PageReader readPage);

    // The first page after `page` that the map names, 0 after the last; a page at or beyond the
    // file's end (the map's or one it names) is returned as it is, for the caller to report the
    // file as cut short. False in `valid` when the map is of neither kind or unreadable.
    unsigned long Next(unsigned long page, bool& valid) const;

private:
    unsigned long NextInBitmap(const unsigned char* bitmap, unsigned long bits, unsigned long first,
                               unsigned long from) const;

    QByteArray m_map;
    unsigned long m_nPages;
    int m_nPageSize;
    PageReader m_readPage;
};
