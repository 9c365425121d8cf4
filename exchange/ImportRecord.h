#pragma once

#include <QString>
#include <array>
#include <optional>

#include "ArticleFields.h"

// One record as a source holds it. A field without any value (NULL in a database) is kept apart
// from an empty text, so that it arrives in the catalogue as it was. `key` is the source's own
// record number where it has one that the catalogue may keep as the record's key.
struct ImportRecord {
    std::array<std::optional<QString>, 4> fields;
    std::optional<qint64> key;

    // A record of a text format, which knows no NULL: every field holds a text.
    static ImportRecord OfTexts(const ArticleFields& texts) {
        ImportRecord record;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            record.fields[i] = texts[i];
        }
        return record;
    }
};
