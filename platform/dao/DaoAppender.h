#pragma once

#include <optional>
#include <span>
#include <string>

// An engine's appending of many rows to one table inside a write transaction, each engine in
// its fastest way. Values are passed as text, never spliced into SQL.
class DaoAppender {
public:
    virtual ~DaoAppender() = default;

    // One value per column, in the order the appender was opened with; nullopt is NULL.
    virtual void Append(std::span<const std::optional<std::string>> values) = 0;
    // Ends the load: every row is stored, the table's indexes are whole again, and the table's
    // key generator continues above its highest key. An appender that did not finish leaves
    // its transaction fit only for rolling back.
    virtual void Finish() = 0;
};
