#include "PgCopyIn.h"

#include <libpq-fe.h>

#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgConnection.h"

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

PgCopyIn::PgCopyIn(PgConnection& connection, std::string_view table,
                   const std::vector<std::string>& columns)
    : m_connection(connection), m_nColumns(columns.size()) {
    std::string sql = "COPY " + std::string(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i == 0 ? "" : ", ") + columns[i];
    }
    sql += ") FROM STDIN";
    const PgResult started(PQexec(m_connection.Handle(), sql.c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN) {
        m_connection.ThrowFailure(started.get());
    }
    m_bOpen = true;
}

PgCopyIn::~PgCopyIn() {
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

void PgCopyIn::Append(std::span<const std::optional<std::string>> values) {
    if (values.size() != m_nColumns) {
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

void PgCopyIn::Send() {
    if (!m_buffer.empty() && PQputCopyData(m_connection.Handle(), m_buffer.data(),
                                           static_cast<int>(m_buffer.size())) != 1) {
        m_connection.ThrowFailure(nullptr);
    }
    m_buffer.clear();
}

void PgCopyIn::Finish() {
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
}
