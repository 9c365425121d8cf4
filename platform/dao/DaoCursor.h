#pragma once

#include <optional>
#include <string>
#include <string_view>

// An engine's reading of the rows that a query selects, once, front to back, without keeping
// them: for passes over a whole table that must not grow with it.
class DaoCursor {
public:
    virtual ~DaoCursor() = default;

    // Steps to the next row; false once there is none. Throws on a read failure.
    virtual bool MoveNext() = 0;
    // Column `index` of the current row as UTF-8 text, nullopt for NULL; valid until the next
    // step.
    virtual std::optional<std::string_view> GetValue(int index) const = 0;
    virtual int GetFieldCount() const = 0;
    // The name of column `index` as the query gives it.
    virtual std::string GetFieldName(int index) const = 0;
};
