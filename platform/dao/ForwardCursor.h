#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DaoCursor.h"

class CDaoDatabase;

// Reads the rows an SQL text selects once, front to back, without keeping them: for passes over
// a whole table that must not grow with it. Lives inside a transaction of the database, which
// gives it one state of the catalogue to read.
class ForwardCursor {
public:
    // Throws CDaoException when the SQL text does not compile or no transaction is open.
    // `parameters` are bound as text to the SQL text's placeholders, in order.
    ForwardCursor(CDaoDatabase& database, const std::string& sql,
                  const std::vector<std::string>& parameters = {});
    // The same for an SQL text without placeholders whose rows are all read at once, to the
    // end: a server streams them, and its connection serves nothing else until the last one
    // is read.
    static ForwardCursor Stream(CDaoDatabase& database, const std::string& sql);

    // Steps to the next row; false once there is none. Throws on a read failure.
    bool MoveNext() { return m_pCursor->MoveNext(); }
    // Field `index` of the current row as UTF-8 text, nullopt for NULL. Valid until the next
    // step.
    std::optional<std::string_view> GetValue(int index) const { return m_pCursor->GetValue(index); }
    // The same with NULL as the empty text.
    std::string_view GetText(int index) const { return GetValue(index).value_or(""); }
    bool IsNull(int index) const { return !GetValue(index).has_value(); }
    int GetFieldCount() const { return m_pCursor->GetFieldCount(); }
    // The name of column `index` as the SQL text gives it.
    std::string GetFieldName(int index) const { return m_pCursor->GetFieldName(index); }

private:
    explicit ForwardCursor(std::unique_ptr<DaoCursor> cursor) : m_pCursor(std::move(cursor)) {}

    std::unique_ptr<DaoCursor> m_pCursor;
};
