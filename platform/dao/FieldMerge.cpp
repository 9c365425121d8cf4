#include "FieldMerge.h"

bool HoldsText(const COleVariant& stored, const std::optional<std::string>& text) {
    if (stored.IsNull() || !text) {
        return stored.IsNull() && !text;
    }
    return stored.GetString() == *text;
}

FieldMergeStep DecideFieldMerge(const COleVariant& stored, const std::optional<std::string>& loaded,
                                const std::optional<std::string>& typed) {
    if (HoldsText(stored, typed)) {
        return FieldMergeStep::AlreadyThere;
    }
    return HoldsText(stored, loaded) ? FieldMergeStep::Write : FieldMergeStep::Conflict;
}
