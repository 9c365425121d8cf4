#include "ScratchDatabase.h"

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "CDaoException.h"

ScratchDatabase::ScratchDatabase(int articles) {
    static std::atomic<int> counter{0};
    m_folder = std::filesystem::temp_directory_path() /
               ("periolex-dao-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
    m_path = (m_folder / "Katalog.db").string();
    Exec(
        "CREATE TABLE Zeitschriften (ID INTEGER PRIMARY KEY AUTOINCREMENT, Zeitschriftennummer "
        "TEXT, Zeitschriftenname TEXT, Artikelname TEXT, Seite TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(articles) +
        ") INSERT INTO Zeitschriften SELECT i, i, 'Heft', 'Artikel ' || i, i * 10 FROM n "
        "WHERE i <= " +
        std::to_string(articles));
}

ScratchDatabase::~ScratchDatabase() {
    Disconnect();
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
    if (sqlite3_exec(Connection(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_db));
    }
}

std::string ScratchDatabase::Scalar(const std::string& sql) {
    return QueryScalar(Connection(), sql);
}

std::string QueryScalar(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
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
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}
