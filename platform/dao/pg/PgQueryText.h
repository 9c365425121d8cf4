#pragma once

#include <string>
#include <string_view>
#include <vector>

// A record set's SQL text as the server takes it, with the values for its $1, $2, ...
struct PgQueryText {
    std::string sql;
    std::vector<std::string> values;
    bool ordered = false;  // the text has an ORDER BY of its own
};

// Rewrites the SQL text of a record set for the server: each `?` becomes a numbered
// placeholder for the next of `parameters`, and `x Like pattern` (also `Not Like`) becomes a
// match of the dialect's pattern as a regular expression (see LikeRegex.h), the
// pattern bound as a value whether it came as `?` or as a quoted text. Throws when the number
// of `?` differs from that of `parameters` or Like is followed by anything else.
PgQueryText TranslateForServer(std::string_view sql, const std::vector<std::string>& parameters);
