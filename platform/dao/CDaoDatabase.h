#pragma once

#include <string>
#include <vector>

class CDaoRecordset;
struct sqlite3;

// One connection to a database file, opened shared. Opening never creates a missing file; a file
// that the user may only read opens read-only, and writes through it fail. Every connection
// waits a few seconds for a lock held by another connection before it reports it as busy, and
// carries the desktop engine's LIKE dialect (see LikeDialect.h).
class CDaoDatabase {
public:
    CDaoDatabase() = default;
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Throws CDaoException when the file is missing, unreadable or not a database.
    void Open(const std::string& path, bool exclusive = false, bool readOnly = false,
              const std::string& connect = "");
    void Close();

    bool IsOpen() const { return m_pDb != nullptr; }
    // True when the file could only be opened for reading.
    bool IsReadOnly() const;
    const std::string& GetName() const { return m_strName; }

    // The SQLite connection, for the record sets made on this database.
    sqlite3* Handle() const { return m_pDb; }

private:
    // Open record sets hold prepared statements on the connection; closing the database closes
    // them first, so that none is left pointing at a closed connection.
    friend class CDaoRecordset;
    void AttachRecordset(CDaoRecordset* recordset);
    void DetachRecordset(CDaoRecordset* recordset);

    sqlite3* m_pDb = nullptr;
    std::string m_strName;
    std::vector<CDaoRecordset*> m_openRecordsets;
};
