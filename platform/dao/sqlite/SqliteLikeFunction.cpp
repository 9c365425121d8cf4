#include "SqliteLikeFunction.h"

#include <sqlite3.h>

#include <memory>
#include <new>

#include "LikePattern.h"
#include "SqliteError.h"

namespace {

std::string_view ValueText(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text != nullptr
               ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)))
               : std::string_view();
}

void DeletePattern(void* pattern) {
    delete static_cast<LikePattern*>(pattern);
}

void LikeFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    try {
        // SQLite keeps the analysed pattern for as long as the pattern argument is a constant
        // of the statement, so a scan analyses it once rather than once per row.
        auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(context, 0));
        std::unique_ptr<LikePattern> analysed;
        if (pattern == nullptr) {
            if (LikePattern::IsTooLong(ValueText(argv[0]))) {
                sqlite3_result_error(context, "The LIKE pattern is too long.", -1);
                sqlite3_result_error_code(context, SQLITE_TOOBIG);
                return;
            }
            analysed = std::make_unique<LikePattern>(ValueText(argv[0]));
            pattern = analysed.get();
        }
        const std::string_view text = ValueText(argv[1]);
        if (text.data() == nullptr) {
            sqlite3_result_error_nomem(context);
            return;
        }
        sqlite3_result_int(context, pattern->Matches(text) ? 1 : 0);
        if (analysed) {
            // Hands ownership over; SQLite deletes the pattern itself if it cannot keep it.
            sqlite3_set_auxdata(context, 0, analysed.release(), DeletePattern);
        }
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

}  // namespace

void InstallLikeDialect(sqlite3* db) {
    if (sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   LikeFunction, nullptr, nullptr, nullptr) != SQLITE_OK) {
        ThrowSqliteError(db);
    }
}
