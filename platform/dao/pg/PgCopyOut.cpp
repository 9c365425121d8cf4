#include "PgCopyOut.h"

#include <libpq-fe.h>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

PgCopyOut::PgCopyOut(PgConnection& connection, const std::string& sql)
    : m_connection(connection), m_columns(connection.Describe(sql, 0)) {
    const PgResult started(PQexec(m_connection.Handle(), ("COPY (" + sql + ") TO STDOUT").c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_OUT) {
        m_connection.ThrowFailure(started.get());
    }
    m_bStreaming = true;
}

PgCopyOut::~PgCopyOut() {
    if (!m_bStreaming) {
        return;
    }
    // Raw and without a word: the reader goes because something failed, which tells the user.
    pg_conn* connection = m_connection.Handle();
    if (PGcancel* cancel = PQgetCancel(connection)) {
        char error[256];
        PQcancel(cancel, error, sizeof(error));
        PQfreeCancel(cancel);
    }
    char* line = nullptr;
    while (PQgetCopyData(connection, &line, 0) > 0) {
        PQfreemem(line);
    }
    while (PGresult* rest = PQgetResult(connection)) {
        PQclear(rest);
    }
}

bool PgCopyOut::MoveNext() {
    if (!m_bStreaming) {
        return false;
    }
    char* line = nullptr;
    const int size = PQgetCopyData(m_connection.Handle(), &line, 0);
    if (size < 0) {
        m_bStreaming = false;
        Finish();
        return false;
    }
    Decode(line, static_cast<std::size_t>(size));
    PQfreemem(line);
    return true;
}

void PgCopyOut::Finish() {
    // The stream's end, or its failure (-2), comes as the statement's result.
    PgResult end(PQgetResult(m_connection.Handle()));
    const bool succeeded = PQresultStatus(end.get()) == PGRES_COMMAND_OK;
    while (PGresult* rest = PQgetResult(m_connection.Handle())) {
        PQclear(rest);
    }
    if (!succeeded) {
        m_connection.ThrowFailure(end.get());
    }
}

void PgCopyOut::Decode(const char* line, std::size_t size) {
    if (size > 0 && line[size - 1] == '\n') {
        --size;
    }
    m_values.clear();
    m_spans.clear();
    std::size_t start = 0;
    bool nullMark = false;  // the value so far is \N, which stands for NULL
    const auto endValue = [&] {
        const std::size_t length = m_values.size() - start;
        m_spans.push_back({start, length, nullMark && length == 0});
        start = m_values.size();
        nullMark = false;
    };
    // Up to `most` digits of `base` after position i, as one byte; i ends on the last digit.
    const auto number = [&](std::size_t& i, int base, int most, int value) {
        for (int digits = 0; digits < most && i + 1 < size; ++digits) {
            const int digit = HexDigit(line[i + 1]);
            if (digit < 0 || digit >= base) {
                break;
            }
            value = value * base + digit;
            ++i;
        }
        return static_cast<char>(value);
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = line[i];
        if (c == '\t') {
            endValue();
        } else if (c != '\\' || i + 1 == size) {
            m_values += c;
        } else {
            const char escaped = line[++i];
            switch (escaped) {
                case 'N':
                    nullMark = m_values.size() == start;
                    break;
                case 'b':
                    m_values += '\b';
                    break;
                case 'f':
                    m_values += '\f';
                    break;
                case 'n':
                    m_values += '\n';
                    break;
                case 'r':
                    m_values += '\r';
                    break;
                case 't':
                    m_values += '\t';
                    break;
                case 'v':
                    m_values += '\v';
                    break;
                case 'x':
                    m_values +=
                        HexDigit(i + 1 < size ? line[i + 1] : '-') >= 0 ? number(i, 16, 2, 0) : 'x';
                    break;
                default:
                    m_values +=
                        escaped >= '0' && escaped <= '7' ? number(i, 8, 2, escaped - '0') : escaped;
            }
        }
    }
    endValue();
}

std::optional<std::string_view> PgCopyOut::GetValue(int index) const {
    const Span& span = m_spans.at(static_cast<std::size_t>(index));
    if (span.null) {
        return std::nullopt;
    }
    return std::string_view(m_values).substr(span.offset, span.size);
}

int PgCopyOut::GetFieldCount() const {
    return PQnfields(m_columns.get());
}

std::string PgCopyOut::GetFieldName(int index) const {
    const char* name = PQfname(m_columns.get(), index);
    return name != nullptr ? name : "";
}
