#pragma once

#include <string>
#include <vector>

#include "DaoSelection.h"
#include "PgQueryText.h"

class PgConnection;

// A dynaset's query on a database server. The keys come from the query run as a subquery in
// key order (a server hands rows out in no fixed order otherwise); rows are read and written
// by key, one round trip each, the values always bound.
class PgSelection : public DaoSelection {
public:
    PgSelection(PgConnection& connection, const std::string& sql,
                const std::vector<std::string>& parameters);

    // The schema of the table the query reads, as the server found it on opening.
    const std::string& Schema() const { return m_schema; }

    void LoadKeys(KeySet& keys) override;
    bool CatchUp(KeySet& keys) override;
    std::vector<COleVariant> Read(std::int64_t key) override;
    std::optional<std::vector<COleVariant>> ReadForWrite(std::int64_t key) override;
    void Write(std::int64_t key, const std::vector<PendingField>& changed) override;
    std::int64_t Insert(const std::vector<PendingField>& pending) override;
    bool Remove(std::int64_t key) override;

private:
    struct Shape;
    PgSelection(PgConnection& connection, PgQueryText query);
    // The row by key, optionally locked for the rest of the transaction; empty when it has gone.
    std::vector<COleVariant> ReadRow(std::int64_t key, bool lock);

    PgConnection& m_connection;
    PgQueryText m_query;
    std::string m_table;  // quoted, as the server names it
    std::string m_schema;
    std::vector<std::string> m_columns;  // quoted
    std::vector<bool> m_integer;         // per column: an integer, not text
    std::size_t m_keyColumn;
    std::string m_keyName;   // the key's name among the result columns
    std::string m_keyQuery;  // empty when the key's result name is ambiguous
    std::string m_selectRow;
};
