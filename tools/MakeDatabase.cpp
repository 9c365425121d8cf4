// periolex-mkdb OUT SCRIPT...
//
// Builds a database from SQL scripts at build time (the template for new catalogues and the bundled
// example). The database is made under OUT.tmp and renamed into place only when every script ran,
// so an interrupted or failed build never leaves a half-filled file that a later build step or an
// installer would pick up as if it were good.

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A stale journal beside a fresh database file would be taken as a hot journal and rolled back
// into it on the next open, so the journal goes whenever the database file does.
void RemoveWithJournal(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path.string() + "-journal"), ignored);
}

bool ReadFile(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    // Editors on some systems save UTF-8 with a byte order mark, which SQLite reads as a syntax
    // error on the first statement.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    return true;
}

int Fail(const fs::path& tmp, sqlite3* db) {
    sqlite3_close(db);
    RemoveWithJournal(tmp);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: periolex-mkdb OUT SCRIPT...\n"
                     "Creates the SQLite database OUT (replacing it) and runs each SQL script into "
                     "it in order.\n";
        return 1;
    }

    const fs::path out = argv[1];
    const fs::path tmp = out.string() + ".tmp";
    // The old OUT goes first: after a failed run there is no database rather than an outdated one
    // that still looks current.
    RemoveWithJournal(out);
    RemoveWithJournal(tmp);

    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(tmp.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::cerr << "periolex-mkdb: " << tmp.string() << ": "
                  << (db != nullptr ? sqlite3_errmsg(db) : "out of memory") << '\n';
        return Fail(tmp, db);
    }

    for (int i = 2; i < argc; ++i) {
        const fs::path script = argv[i];
        std::string sql;
        if (!ReadFile(script, sql)) {
            std::cerr << "periolex-mkdb: " << script.string() << ": cannot read the file\n";
            return Fail(tmp, db);
        }
        char* message = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::cerr << "periolex-mkdb: " << script.string() << ": "
                      << (message != nullptr ? message : sqlite3_errmsg(db)) << '\n';
            sqlite3_free(message);
            return Fail(tmp, db);
        }
        // A script that opens a transaction and forgets to end it would otherwise have its work
        // rolled back silently at close, leaving an empty database that looks like a success.
        if (sqlite3_get_autocommit(db) == 0) {
            std::cerr << "periolex-mkdb: " << script.string()
                      << ": the script leaves a transaction open (missing COMMIT)\n";
            return Fail(tmp, db);
        }
    }

    if (sqlite3_close(db) != SQLITE_OK) {
        std::cerr << "periolex-mkdb: " << tmp.string() << ": " << sqlite3_errmsg(db) << '\n';
        return Fail(tmp, db);
    }

    std::error_code error;
    fs::rename(tmp, out, error);
    if (error) {
        std::cerr << "periolex-mkdb: cannot rename " << tmp.string() << " to " << out.string()
                  << ": " << error.message() << '\n';
        RemoveWithJournal(tmp);
        return 1;
    }
    return 0;
}
