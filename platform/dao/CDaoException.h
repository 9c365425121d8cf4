#pragma once

#include <string>

// A failure of the record store. Thrown as a pointer (`throw new CDaoException(...)`); whoever
// catches it owns it and ends it with Delete(). Carries SQLite's result code and message.
class CDaoException {
public:
    CDaoException(int sqliteCode, std::string message);

    // SQLite's extended result code (SQLITE_READONLY, SQLITE_NOTADB, ...).
    int GetErrorCode() const { return m_nErrorCode; }
    // SQLite's own text, in English; the framework turns the code into a user message.
    const std::string& GetErrorMessage() const { return m_strMessage; }

    void Delete() { delete this; }

private:
    int m_nErrorCode;
    std::string m_strMessage;
};
