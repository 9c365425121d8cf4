#pragma once

#include <string>
#include <vector>

#include "DaoCursor.h"
#include "PgConnection.h"

// Reads the rows a query selects once, front to back, as the server streams them out with
// COPY: the cheapest way for a server to hand over a whole table, with no cursor to fetch from.
// The query takes no values. Until the last row is read the connection serves nothing else;
// a reader that goes before asks the server to stop, and the transaction is then fit only for
// rolling back.
class PgCopyOut : public DaoCursor {
public:
    // Throws CDaoException when the query cannot run.
    PgCopyOut(PgConnection& connection, const std::string& sql);
    ~PgCopyOut() override;
    PgCopyOut(const PgCopyOut&) = delete;
    PgCopyOut& operator=(const PgCopyOut&) = delete;

    bool MoveNext() override;
    std::optional<std::string_view> GetValue(int index) const override;
    int GetFieldCount() const override;
    std::string GetFieldName(int index) const override;

private:
    // Takes one line of COPY's text format apart: values between tabs, \N for NULL, and
    // backslash escapes for the characters that would break the line.
    void Decode(const char* line, std::size_t size);
    // Takes the statement's end from the connection; throws if it failed.
    void Finish();

    PgConnection& m_connection;
    PgResult m_columns;  // the query's columns, described before it runs
    bool m_bStreaming = false;
    std::string m_values;  // the current row's values one after another
    struct Span {
        std::size_t offset;
        std::size_t size;
        bool null;
    };
    std::vector<Span> m_spans;
};
