#pragma once

#include <optional>
#include <string>

#include "COleVariant.h"

// A field the user changed: the text the form loaded and the text to store; nullopt is NULL.
struct FieldChange {
    int field;
    std::optional<std::string> loaded;
    std::optional<std::string> value;
};

// What storing changed fields found: written (or already there), a field that someone else
// changed meanwhile (nothing written), or the record gone.
enum class MergeOutcome { Stored, Conflict, Deleted };

// What storing one changed field into a record does, whatever keeps the catalogue.
enum class FieldMergeStep {
    Write,         // the catalogue still holds the loaded text
    AlreadyThere,  // the catalogue holds the typed text already, whoever stored it
    Conflict       // someone else stored another text meanwhile
};

// Decides one field from the value the catalogue holds now (read in the writing transaction),
// the text the form loaded and the text typed. Values compare as text; NULL is distinct from
// the empty text.
FieldMergeStep DecideFieldMerge(const COleVariant& stored, const std::optional<std::string>& loaded,
                                const std::optional<std::string>& typed);

// Whether `stored`, read as text, is `text`; NULL only is nullopt.
bool HoldsText(const COleVariant& stored, const std::optional<std::string>& text);
