#include "PgSelection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

#include "DaoError.h"
#include "DaoErrorCode.h"
#include "KeySet.h"
#include "PgConnection.h"
#include "PgIdentifier.h"

namespace {

[[noreturn]] void ThrowNotOneTable() {
    ThrowDaoError(DaoErrorCode::kMisuse,
                  "A record set must show the columns of exactly one table, its integer primary "
                  "key included.");
}

std::int64_t KeyOf(const char* text) {
    return std::strtoll(text, nullptr, 10);
}

// The sum of the keys and of their squares, modulo 2^64: with the count, a fingerprint of a set
// of keys that a deletion and an insertion below the last key cannot keep as a count alone can.
struct KeyMoments {
    std::uint64_t sum = 0;
    std::uint64_t squares = 0;
    bool operator==(const KeyMoments&) const = default;
};

KeyMoments MomentsOf(const KeySet& keys) {
    KeyMoments moments;
    for (std::size_t i = 0; i < keys.Size(); ++i) {
        const auto key = static_cast<std::uint64_t>(keys[i]);
        moments.sum += key;
        moments.squares += key * key;
    }
    return moments;
}

// A decimal integer of the server, modulo 2^64 as MomentsOf counts.
std::uint64_t Modulo64(const char* text) {
    const bool negative = *text == '-';
    std::uint64_t value = 0;
    for (const char* digit = negative ? text + 1 : text; *digit >= '0' && *digit <= '9'; ++digit) {
        value = value * 10 + static_cast<std::uint64_t>(*digit - '0');
    }
    return negative ? -value : value;
}

}  // namespace

// What the server says about the query's result columns and their table.
struct PgSelection::Shape {
    std::vector<std::size_t> fieldColumns;
    std::vector<std::string> columns;
    std::vector<bool> integer;
    std::size_t keyColumn = 0;
    std::string table;
    std::string keyName;  // the key's result name; empty when another column shares it
};

namespace {

std::string QueryStart(const std::string& sql) {
    std::size_t pos = sql.find_first_not_of(" \t\r\n(");
    return pos == std::string::npos ? "" : sql.substr(pos, 6);
}

}  // namespace

PgSelection::PgSelection(PgConnection& connection, const std::string& sql,
                         const std::vector<std::string>& parameters)
    : PgSelection(connection, TranslateForServer(sql, parameters)) {}

PgSelection::PgSelection(PgConnection& connection, PgQueryText query)
    : DaoSelection({}, {}, 0), m_connection(connection), m_query(std::move(query)) {
    Shape shape;
    std::string start = QueryStart(m_query.sql);
    std::transform(start.begin(), start.end(), start.begin(), ::toupper);
    if (start != "SELECT") {
        ThrowDaoError(DaoErrorCode::kMisuse, "The SQL text of a record set must be a query.");
    }
    const PgResult described =
        m_connection.Describe(m_query.sql, static_cast<int>(m_query.values.size()));
    const int fields = PQnfields(described.get());
    const Oid table = fields > 0 ? PQftable(described.get(), 0) : InvalidOid;
    if (table == InvalidOid) {
        ThrowNotOneTable();
    }
    const PgResult attributes = m_connection.Run(
        "SELECT a.attnum, quote_ident(a.attname), a.atttypid IN (20, 21, 23),"
        " coalesce(a.attnum = ANY (i.indkey::int2[]), false), $1::oid::regclass::text,"
        " (SELECT n.nspname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
        " WHERE c.oid = $1::oid)"
        " FROM pg_attribute a LEFT JOIN pg_index i ON i.indrelid = a.attrelid"
        " AND i.indisprimary AND i.indnatts = 1"
        " WHERE a.attrelid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped",
        std::vector<std::string>{std::to_string(table)});
    std::optional<int> keyAttribute;
    std::optional<int> keyField;
    std::vector<int> attributeOfColumn;
    for (int field = 0; field < fields; ++field) {
        const int attribute = PQftablecol(described.get(), field);
        if (PQftable(described.get(), field) != table || attribute <= 0) {
            ThrowNotOneTable();
        }
        auto column = std::find(attributeOfColumn.begin(), attributeOfColumn.end(), attribute);
        if (column == attributeOfColumn.end()) {
            column = attributeOfColumn.insert(attributeOfColumn.end(), attribute);
            for (int row = 0; row < PQntuples(attributes.get()); ++row) {
                if (std::atoi(PQgetvalue(attributes.get(), row, 0)) != attribute) {
                    continue;
                }
                shape.columns.push_back(PQgetvalue(attributes.get(), row, 1));
                const bool integer = *PQgetvalue(attributes.get(), row, 2) == 't';
                shape.integer.push_back(integer);
                if (integer && *PQgetvalue(attributes.get(), row, 3) == 't' && !keyAttribute) {
                    keyAttribute = attribute;
                    keyField = field;
                    shape.keyColumn = shape.columns.size() - 1;
                }
                shape.table = PQgetvalue(attributes.get(), row, 4);
                m_schema = PQgetvalue(attributes.get(), row, 5);
            }
        }
        shape.fieldColumns.push_back(static_cast<std::size_t>(column - attributeOfColumn.begin()));
    }
    if (!keyField || shape.columns.size() != attributeOfColumn.size()) {
        ThrowNotOneTable();
    }
    shape.keyName = PQfname(described.get(), *keyField);
    for (int field = 0; field < fields; ++field) {
        if (field != *keyField && shape.keyName == PQfname(described.get(), field)) {
            shape.keyName.clear();
        }
    }

    SetShape(std::move(shape.fieldColumns), shape.columns, shape.keyColumn);
    m_table = std::move(shape.table);
    m_columns = std::move(shape.columns);
    m_integer = std::move(shape.integer);
    m_keyColumn = shape.keyColumn;
    m_keyName = shape.keyName;
    if (!shape.keyName.empty()) {
        // Without an order of its own a server's query hands rows out in no fixed order; the
        // key's order is the order of adding, as on a local file.
        const std::string key = QuotePgName(shape.keyName);
        m_keyQuery = "SELECT " + key + " FROM (" + m_query.sql + ") AS dynaset" +
                     (m_query.ordered ? "" : " ORDER BY " + key);
    }
    std::string list;
    for (const std::string& column : m_columns) {
        list += (list.empty() ? "" : ",") + column;
    }
    m_selectRow =
        "SELECT " + list + " FROM " + m_table + " WHERE " + m_columns[m_keyColumn] + "=$1";
}

void PgSelection::LoadKeys(KeySet& keys) {
    if (m_keyQuery.empty()) {
        const PgResult result = m_connection.Run(m_query.sql, m_query.values);
        const int keyField = PQfnumber(result.get(), m_columns[m_keyColumn].c_str());
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            keys.Append(KeyOf(PQgetvalue(result.get(), row, keyField)));
        }
        return;
    }
    const PgResult result = m_connection.Run(m_keyQuery, m_query.values);
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        keys.Append(KeyOf(PQgetvalue(result.get(), row, 0)));
    }
}

bool PgSelection::CatchUp(KeySet& keys) {
    if (m_keyQuery.empty() || m_query.ordered || keys.Empty() || !keys.IsAscending()) {
        return false;
    }
    std::vector<std::string> values = m_query.values;
    values.push_back(std::to_string(keys.Last()));
    const std::string key = QuotePgName(m_keyName);
    const PgResult later =
        m_connection.Run("SELECT " + key + " FROM (" + m_keyQuery + ") AS keys WHERE " + key +
                             " > $" + std::to_string(values.size()) + " ORDER BY " + key,
                         values);
    const PgResult known =
        m_connection.Run("SELECT count(*), coalesce(sum(" + key + "::numeric), 0), coalesce(sum(" +
                             key + "::numeric * " + key + "), 0) FROM (" + m_keyQuery +
                             ") AS keys WHERE " + key + " <= $" + std::to_string(values.size()),
                         values);
    if (std::strtoull(PQgetvalue(known.get(), 0, 0), nullptr, 10) != keys.Size() ||
        !(KeyMoments{Modulo64(PQgetvalue(known.get(), 0, 1)),
                     Modulo64(PQgetvalue(known.get(), 0, 2))} == MomentsOf(keys))) {
        return false;
    }
    const auto rows = static_cast<std::size_t>(PQntuples(later.get()));
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        keys.Append(KeyOf(PQgetvalue(later.get(), row, 0)));
    }
    return true;
}

std::vector<COleVariant> PgSelection::ReadRow(std::int64_t key, bool lock) {
    // An unlocked read may be a read command's only statement, and then needs no transaction;
    // a statement after it begins one, and sees the catalogue as it is by then.
    const std::vector<std::string> keyValue{std::to_string(key)};
    const PgResult result = lock ? m_connection.Run(m_selectRow + " FOR UPDATE", keyValue)
                                 : m_connection.RunAlone(m_selectRow, keyValue);
    std::vector<COleVariant> values;
    if (PQntuples(result.get()) == 0) {
        return values;
    }
    for (std::size_t column = 0; column < m_columns.size(); ++column) {
        const int field = static_cast<int>(column);
        if (PQgetisnull(result.get(), 0, field)) {
            values.emplace_back();
        } else if (m_integer[column]) {
            values.emplace_back(
                static_cast<std::int64_t>(KeyOf(PQgetvalue(result.get(), 0, field))));
        } else {
            values.emplace_back(
                std::string(PQgetvalue(result.get(), 0, field),
                            static_cast<std::size_t>(PQgetlength(result.get(), 0, field))));
        }
    }
    return values;
}

std::vector<COleVariant> PgSelection::Read(std::int64_t key) {
    std::vector<COleVariant> values = ReadRow(key, false);
    if (values.empty()) {
        ThrowDaoError(DaoErrorCode::kNotFound, "The record has been deleted.");
    }
    return values;
}

std::optional<std::vector<COleVariant>> PgSelection::ReadForWrite(std::int64_t key) {
    std::vector<COleVariant> values = ReadRow(key, true);
    if (values.empty()) {
        return std::nullopt;
    }
    return values;
}

void PgSelection::Write(std::int64_t key, const std::vector<PendingField>& changed) {
    std::string sql = "UPDATE " + m_table + " SET ";
    std::vector<const char*> values;
    for (std::size_t column = 0; column < changed.size(); ++column) {
        if (changed[column].isSet) {
            values.push_back(changed[column].value ? changed[column].value->c_str() : nullptr);
            sql += (values.size() > 1 ? "," : "") + m_columns[column] + "=$" +
                   std::to_string(values.size());
        }
    }
    const std::string keyText = std::to_string(key);
    values.push_back(keyText.c_str());
    sql += " WHERE " + m_columns[m_keyColumn] + "=$" + std::to_string(values.size());
    const PgResult result = m_connection.Run(sql, values);
    if (std::string(PQcmdTuples(result.get())) == "0") {
        ThrowDaoError(DaoErrorCode::kNotFound, "The record has been deleted.");
    }
}

std::int64_t PgSelection::Insert(const std::vector<PendingField>& pending) {
    std::string columns;
    std::string placeholders;
    std::vector<const char*> values;
    for (std::size_t column = 0; column < pending.size(); ++column) {
        if (pending[column].isSet) {
            values.push_back(pending[column].value ? pending[column].value->c_str() : nullptr);
            columns += (columns.empty() ? "" : ",") + m_columns[column];
            placeholders += (placeholders.empty() ? "$" : ",$") + std::to_string(values.size());
        }
    }
    const std::string sql =
        "INSERT INTO " + m_table +
        (columns.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + placeholders + ")") +
        " RETURNING " + m_columns[m_keyColumn];
    const PgResult result = m_connection.Run(sql, values);
    return KeyOf(PQgetvalue(result.get(), 0, 0));
}

bool PgSelection::Remove(std::int64_t key) {
    const PgResult result =
        m_connection.Run("DELETE FROM " + m_table + " WHERE " + m_columns[m_keyColumn] + "=$1",
                         std::vector<std::string>{std::to_string(key)});
    return std::string(PQcmdTuples(result.get())) != "0";
}
