#include "SqliteAppender.h"

#include <sqlite3.h>

#include "DaoErrorCode.h"
#include "SqliteError.h"

namespace {

// Rows per statement: enough that the statement's own cost vanishes, few enough for the
// smallest limit on a statement's values that SQLite builds allow (999).
constexpr std::size_t kBatchRows = 64;
// Long texts send a batch off early, so that the rows held never take much memory.
constexpr std::size_t kBatchBytes = 4 << 20;

}  // namespace

SqliteAppender::SqliteAppender(sqlite3* db, const std::string& table,
                               const std::vector<std::string>& columns)
    : m_db(db), m_nColumns(columns.size()) {
    std::string names;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
    }
    m_insertInto = "INSERT INTO " + QuoteIdentifier(table) + " (" + names + ") VALUES ";
    m_batch = Prepare(kBatchRows);
    m_spans.reserve(kBatchRows * m_nColumns);
}

SqliteStatement SqliteAppender::Prepare(std::size_t rows) const {
    std::string row = "(";
    for (std::size_t i = 0; i < m_nColumns; ++i) {
        row += i == 0 ? "?" : ", ?";
    }
    row += ")";
    std::string sql = m_insertInto;
    for (std::size_t i = 0; i < rows; ++i) {
        sql += (i == 0 ? "" : ", ") + row;
    }
    return PrepareStatement(m_db, sql);
}

void SqliteAppender::Append(std::span<const std::optional<std::string>> values) {
    if (values.size() != m_nColumns) {
        ThrowDaoError(DaoErrorCode::kRange, "The row has the wrong number of values.");
    }
    for (const std::optional<std::string>& value : values) {
        m_spans.push_back({m_values.size(), value ? value->size() : 0, !value});
        if (value) {
            m_values += *value;
        }
    }
    if (m_spans.size() == kBatchRows * m_nColumns || m_values.size() >= kBatchBytes) {
        Flush();
    }
}

void SqliteAppender::Finish() {
    Flush();
}

void SqliteAppender::Flush() {
    if (m_spans.empty()) {
        return;
    }
    // Bound only now: the values no longer move.
    SqliteStatement partial;
    const std::size_t rows = m_spans.size() / m_nColumns;
    if (rows != kBatchRows) {
        partial = Prepare(rows);
    }
    sqlite3_stmt* stmt = rows == kBatchRows ? m_batch.get() : partial.get();
    SqliteStatementReset reset(stmt);
    for (std::size_t i = 0; i < m_spans.size(); ++i) {
        const Span& span = m_spans[i];
        const int parameter = static_cast<int>(i + 1);
        const int rc = span.null
                           ? sqlite3_bind_null(stmt, parameter)
                           : sqlite3_bind_text64(stmt, parameter, m_values.data() + span.offset,
                                                 span.size, SQLITE_STATIC, SQLITE_UTF8);
        if (rc != SQLITE_OK) {
            ThrowSqliteError(m_db);
        }
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
    m_spans.clear();
    m_values.clear();
}
