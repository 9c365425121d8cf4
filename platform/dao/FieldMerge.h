#pragma once

#include <optional>
#include <string>

// A field the user changed: the text the form loaded and the text to store; nullopt is NULL.
struct FieldChange {
    int field;
    std::optional<std::string> loaded;
    std::optional<std::string> value;
};

// What storing changed fields found: written (or already there), a field that someone else
// changed meanwhile (nothing written), or the record gone.
enum class MergeOutcome { Stored, Conflict, Deleted };
