#include "PgAppender.h"

#include <libpq-fe.h>

#include <algorithm>

#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgConnection.h"
#include "PgIdentifier.h"

namespace {

// Rows go out once this much has gathered: large enough that the round trips do not count,
// small enough that a million rows need not sit in memory.
constexpr std::size_t kBlockSize = 1 << 20;

// A value in COPY's text format, where a tab ends the column and a newline the row; a backslash
// introduces an escape, so it must be escaped itself.
void AppendEscaped(std::string& out, std::string_view value) {
    for (const char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace

PgAppender::PgAppender(PgConnection& connection, const std::string& table,
                       const std::vector<std::string>& columns, bool emptyTable)
    : m_connection(connection), m_table(QuotePgIdentifier(table)) {
    // A large load and the indexes built after it may rightly take minutes.
    m_connection.LiftDeadline();
    if (emptyTable) {
        PutOffIndexes();
    }
    std::string sql = "COPY " + m_table + " (";
    for (const std::string& column : columns) {
        m_columns.push_back(FoldPgName(column));
        sql += (m_columns.size() == 1 ? "" : ", ") + QuotePgName(m_columns.back());
    }
    sql += ") FROM STDIN";
    const PgResult started(PQexec(m_connection.Handle(), sql.c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN) {
        m_connection.ThrowFailure(started.get());
    }
    m_bOpen = true;
}

void PgAppender::PutOffIndexes() {
    // Only indexes that no constraint needs: those can go and come back without a trace.
    const PgResult indexes = m_connection.Run(
        "SELECT pg_get_indexdef(i.indexrelid), i.indexrelid::regclass::text FROM pg_index i"
        " WHERE i.indrelid = $1::regclass AND NOT i.indisprimary AND NOT i.indisunique"
        " AND NOT EXISTS (SELECT FROM pg_constraint c WHERE c.conindid = i.indexrelid)",
        std::vector<std::string>{m_table});
    for (int row = 0; row < PQntuples(indexes.get()); ++row) {
        m_indexes.emplace_back(PQgetvalue(indexes.get(), row, 0));
        m_connection.RunScript(std::string("DROP INDEX ") + PQgetvalue(indexes.get(), row, 1));
    }
}

PgAppender::~PgAppender() {
    if (!m_bOpen) {
        return;
    }
    // The server then refuses the whole copy; its answer is read so that the connection is
    // ready for the rollback.
    PQputCopyEnd(m_connection.Handle(), "abgebrochen");
    while (PGresult* result = PQgetResult(m_connection.Handle())) {
        PQclear(result);
    }
}

void PgAppender::Append(std::span<const std::optional<std::string>> values) {
    if (values.size() != m_columns.size()) {
        ThrowDaoError(DaoErrorCode::kRange, "The row has the wrong number of values.");
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            m_buffer += '\t';
        }
        if (values[i]) {
            AppendEscaped(m_buffer, *values[i]);
        } else {
            m_buffer += "\\N";
        }
    }
    m_buffer += '\n';
    if (m_buffer.size() >= kBlockSize) {
        Send();
    }
}

void PgAppender::Send() {
    if (!m_buffer.empty() && PQputCopyData(m_connection.Handle(), m_buffer.data(),
                                           static_cast<int>(m_buffer.size())) != 1) {
        m_connection.ThrowFailure(nullptr);
    }
    m_buffer.clear();
}

void PgAppender::Finish() {
    Send();
    m_bOpen = false;
    if (PQputCopyEnd(m_connection.Handle(), nullptr) != 1) {
        m_connection.ThrowFailure(nullptr);
    }
    const PgResult ended(PQgetResult(m_connection.Handle()));
    while (PGresult* rest = PQgetResult(m_connection.Handle())) {
        PQclear(rest);
    }
    if (PQresultStatus(ended.get()) != PGRES_COMMAND_OK) {
        m_connection.ThrowFailure(ended.get());
    }
    for (const std::string& index : m_indexes) {
        m_connection.RunScript(index);
    }
    ContinueKeyGenerators();
}

void PgAppender::ContinueKeyGenerators() {
    // Keys that came with the rows leave a generator behind them; it goes on above the highest.
    const PgResult generated = m_connection.Run(
        "SELECT attname FROM pg_attribute WHERE attrelid = $1::regclass AND attnum > 0"
        " AND NOT attisdropped AND pg_get_serial_sequence($1::text, attname::text) IS NOT NULL",
        std::vector<std::string>{m_table});
    for (int row = 0; row < PQntuples(generated.get()); ++row) {
        const std::string column = PQgetvalue(generated.get(), row, 0);
        if (std::find(m_columns.begin(), m_columns.end(), column) == m_columns.end()) {
            continue;
        }
        m_connection.Run("SELECT setval(pg_get_serial_sequence($1, $2), coalesce((SELECT max(" +
                             QuotePgName(column) + ") FROM " + m_table + "), 0) + 1, false)",
                         std::vector<std::string>{m_table, column});
    }
}
