#pragma once

#include <QtGlobal>

// A catalogue file is an SQLite database whose header carries this application id (the
// database's `PRAGMA application_id`), a big-endian number at byte 68; the desktop recognises
// catalogues by it.
constexpr quint32 kCatalogueApplicationId = 0x50524C58;
constexpr int kApplicationIdOffset = 68;

// The form shows and takes at most this many characters of a field; longer texts from the file
// are kept whole.
constexpr int kFieldLimit = 30;

// The article table's fields 1 to 4, as the form shows them (field 0 is the key).
constexpr const char* kArticleFields[] = {"Zeitschriftennummer", "Zeitschriftenname", "Artikelname",
                                          "Seite"};
