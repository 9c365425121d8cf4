#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "JetColumn.h"
#include "JetHeader.h"

// A database file of the Windows program's engine, opened for reading only (through libmdb):
// its header and its user tables. The checks here come before libmdb sees a page, since libmdb
// trusts what it reads: a protected, truncated or overwritten file is refused with a German
// message that names the file and the cause.
class JetDatabase {
public:
    // Throws ExchangeError when the file cannot be read or is no usable Jet or ACE database.
    explicit JetDatabase(const QString& path);
    ~JetDatabase();
    JetDatabase(const JetDatabase&) = delete;
    JetDatabase& operator=(const JetDatabase&) = delete;

    // True when the file at `path` is a Jet or ACE database, whatever its name.
    static bool Recognises(const QString& path) { return Identify(path).has_value(); }
    // The header of the file at `path` when it is a Jet or ACE database.
    static std::optional<JetHeader> Identify(const QString& path);

    const QString& Path() const { return m_strPath; }
    const JetHeader& Header() const { return m_header; }
    // The tables the users made, in the file's order; the engine's own (MSys...) and linked
    // tables are left out.
    const std::vector<JetTableInfo>& Tables() const { return m_tables; }

    // "„NAME“ ist beschädigt: CAUSE" as an ExchangeError.
    [[noreturn]] void ThrowDamaged(const QString& cause) const;

private:
    friend class JetRowScanner;
    struct Handle;

    void ReadTables();

    QString m_strPath;
    JetHeader m_header;
    std::unique_ptr<Handle> m_handle;
    std::vector<JetTableInfo> m_tables;
};
