#pragma once

#include <filesystem>
#include <functional>
#include <string>

struct sqlite3;

// A database file in a temporary folder of its own, removed with the object. It keeps a
// connection of its own for setting up and inspecting the file behind the record store's back.
class ScratchDatabase {
public:
    // Creates the articles table and `articles` rows "Artikel 1", "Artikel 2", ...
    explicit ScratchDatabase(int articles = 0);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const std::string& Path() const { return m_path; }
    const std::filesystem::path& Folder() const { return m_folder; }
    // The scratch connection, opened again if Disconnect closed it.
    sqlite3* Connection();
    // Closes the scratch connection, e.g. before fork(): a child process must not inherit an
    // open SQLite connection to the file it works on.
    void Disconnect();

    void Exec(const std::string& sql);
    // The first column of the first row as text; "<null>" for NULL, "<none>" without a row.
    std::string Scalar(const std::string& sql);

private:
    std::filesystem::path m_folder;
    std::string m_path;
    sqlite3* m_db = nullptr;
};

// The SQLite code of the CDaoException that `action` throws (and deletes), or 0 when it
// throws none.
int ErrorCode(const std::function<void()>& action);

std::string FileBytes(const std::filesystem::path& path);
