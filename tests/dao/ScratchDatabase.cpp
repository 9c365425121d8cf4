#include "ScratchDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "CDaoException.h"

namespace {

std::filesystem::path MakeFolder() {
    static std::atomic<int> counter{0};
    auto folder = std::filesystem::temp_directory_path() /
                  ("periolex-dao-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

ScratchDatabase::ScratchDatabase(int articles)
    : m_folder(MakeFolder()), m_path((m_folder / "Katalog.db").string()) {
    Exec(
        "CREATE TABLE Zeitschriften (ID INTEGER PRIMARY KEY AUTOINCREMENT, Zeitschriftennummer "
        "TEXT, Zeitschriftenname TEXT, Artikelname TEXT, Seite TEXT)");
    Exec("BEGIN");
    for (int i = 1; i <= articles; ++i) {
        Exec("INSERT INTO Zeitschriften VALUES (NULL, '" + std::to_string(i) +
             "', 'Heft', 'Artikel " + std::to_string(i) + "', '" + std::to_string(i * 10) + "')");
    }
    Exec("COMMIT");
}

ScratchDatabase::~ScratchDatabase() {
    sqlite3_close_v2(m_db);
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

sqlite3* ScratchDatabase::Connection() {
    if (m_db == nullptr) {
        if (sqlite3_open(m_path.c_str(), &m_db) != SQLITE_OK) {
            throw std::runtime_error("cannot open " + m_path);
        }
        sqlite3_busy_timeout(m_db, 5000);
    }
    return m_db;
}

void ScratchDatabase::Disconnect() {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void ScratchDatabase::Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(Connection(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error != nullptr ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(sql + ": " + message);
    }
}

std::string ScratchDatabase::Scalar(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(Connection(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
    }
    std::string result = "<none>";
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(stmt, 0);
        result = text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
    }
    sqlite3_finalize(stmt);
    return result;
}

int ErrorCode(const std::function<void()>& action) {
    try {
        action();
    } catch (CDaoException* e) {
        const int code = e->GetErrorCode();
        e->Delete();
        return code;
    }
    return 0;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
