#pragma once

#include <filesystem>
#include <functional>
#include <string>

struct sqlite3;

// A database file with the articles table in a temporary folder of its own, removed with the
// object, and a connection of its own to look at the file behind the record store's back.
class ScratchDatabase {
public:
    // `articles` rows: ID i, "Artikel i", page "i0".
    explicit ScratchDatabase(int articles = 0);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const std::string& Path() const { return m_path; }
    const std::filesystem::path& Folder() const { return m_folder; }

    void Exec(const std::string& sql);
    std::string Scalar(const std::string& sql);
    // Closes the scratch connection until the next Exec or Scalar; a process about to fork()
    // must not hand an open connection to the child.
    void Disconnect();

private:
    sqlite3* Connection();

    std::filesystem::path m_folder;
    std::string m_path;
    sqlite3* m_db = nullptr;
};

// The first column of the first row as text; "<null>" for NULL, "<none>" without a row.
std::string QueryScalar(sqlite3* db, const std::string& sql);

// The code of the CDaoException that `action` throws (and deletes), or 0 when it throws none.
int ErrorCode(const std::function<void()>& action);

std::string FileBytes(const std::filesystem::path& path);
