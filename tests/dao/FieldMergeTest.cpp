#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "FieldMerge.h"

namespace {

const std::optional<std::string> kNull;

struct MergeCase {
    const char* why;
    COleVariant stored;
    std::optional<std::string> loaded;
    std::optional<std::string> typed;
    FieldMergeStep step;
};

// The rule both engines store by: stored against loaded against typed, per field.
TEST(FieldMerge, StoredAgainstLoadedAgainstTyped) {
    const MergeCase cases[] = {
        {"nobody else changed it", COleVariant(std::string("alt")), "alt", "neu",
         FieldMergeStep::Write},
        {"someone stored the same text", COleVariant(std::string("neu")), "alt", "neu",
         FieldMergeStep::AlreadyThere},
        {"someone stored another text", COleVariant(std::string("fremd")), "alt", "neu",
         FieldMergeStep::Conflict},
        {"NULL loaded, still NULL", COleVariant(), kNull, "neu", FieldMergeStep::Write},
        {"NULL loaded, someone stored the empty text", COleVariant(std::string()), kNull, "neu",
         FieldMergeStep::Conflict},
        {"the empty text loaded, someone made it NULL", COleVariant(), "", "neu",
         FieldMergeStep::Conflict},
        {"emptied to NULL, as someone did already", COleVariant(), "alt", kNull,
         FieldMergeStep::AlreadyThere},
        {"the empty text typed over NULL", COleVariant(), kNull, "", FieldMergeStep::Write},
        {"a number compares as its digits", COleVariant(std::int64_t{42}), "42", "43",
         FieldMergeStep::Write},
        {"a number that someone changed", COleVariant(std::int64_t{41}), "42", "43",
         FieldMergeStep::Conflict},
    };
    for (const MergeCase& c : cases) {
        EXPECT_EQ(DecideFieldMerge(c.stored, c.loaded, c.typed), c.step) << c.why;
    }
}

}  // namespace
