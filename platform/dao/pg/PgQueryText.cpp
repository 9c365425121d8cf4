#include "PgQueryText.h"

#include <cctype>

#include "DaoError.h"
#include "DaoErrorCode.h"
#include "LikeRegex.h"

namespace {

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Where the quoted text or identifier that starts at `pos` ends; quotes inside are doubled.
std::string_view::size_type QuotedEnd(std::string_view sql, std::size_t pos) {
    const char quote = sql[pos];
    for (std::size_t i = pos + 1; i < sql.size(); ++i) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                ++i;
                continue;
            }
            return i + 1;
        }
    }
    ThrowDaoError(DaoErrorCode::kError, "The SQL text has an unclosed quote.");
}

// The content of a quoted text, its doubled quotes made single.
std::string Unquoted(std::string_view quoted) {
    std::string text;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        text += quoted[i];
        if (quoted[i] == quoted.front()) {
            ++i;
        }
    }
    return text;
}

}  // namespace

PgQueryText TranslateForServer(std::string_view sql, const std::vector<std::string>& parameters) {
    PgQueryText out;
    std::size_t used = 0;
    bool afterLike = false;
    std::size_t lastWordAt = std::string::npos;  // where the last word starts in out.sql
    std::string lastWord;
    const auto bind = [&](std::string value) {
        if (afterLike && LikePattern::IsTooLong(value)) {
            ThrowDaoError(DaoErrorCode::kTooBig, "The LIKE pattern is too long.");
        }
        out.values.push_back(afterLike ? LikeRegex(LikePattern(value)) : std::move(value));
        out.sql += "$" + std::to_string(out.values.size());
        afterLike = false;
    };
    for (std::size_t pos = 0; pos < sql.size();) {
        const char c = sql[pos];
        if (c == '?') {
            if (used == parameters.size()) {
                ThrowDaoError(DaoErrorCode::kRange, "The SQL text takes more values than given.");
            }
            bind(parameters[used++]);
            ++pos;
        } else if (c == '\'' && afterLike) {
            const std::size_t end = QuotedEnd(sql, pos);
            bind(Unquoted(sql.substr(pos, end - pos)));
            pos = end;
        } else if (c == '\'' || c == '"') {
            const std::size_t end = QuotedEnd(sql, pos);
            out.sql += sql.substr(pos, end - pos);
            pos = end;
        } else if (IsWordChar(c)) {
            std::size_t end = pos;
            while (end < sql.size() && IsWordChar(sql[end])) {
                ++end;
            }
            const std::string_view word = sql.substr(pos, end - pos);
            if (afterLike) {
                ThrowDaoError(DaoErrorCode::kError, "Like needs a pattern text.");
            }
            if (SameWord(word, "LIKE")) {
                if (SameWord(lastWord, "NOT")) {
                    out.sql.resize(lastWordAt);
                    out.sql += "!~";
                } else {
                    out.sql += "~";
                }
                afterLike = true;
            } else {
                out.ordered = out.ordered || SameWord(word, "ORDER");
                lastWordAt = out.sql.size();
                out.sql += word;
            }
            lastWord = word;
            pos = end;
        } else {
            if (afterLike && !std::isspace(static_cast<unsigned char>(c))) {
                ThrowDaoError(DaoErrorCode::kError, "Like needs a pattern text.");
            }
            out.sql += c;
            ++pos;
        }
    }
    if (used != parameters.size()) {
        ThrowDaoError(DaoErrorCode::kRange, "The SQL text takes fewer values than given.");
    }
    return out;
}
