#pragma once

#include <string>

// A failure of the record store. Thrown as a pointer (`throw new CDaoException(...)`); whoever
// catches it owns it and ends it with Delete(). Carries a result code (see DaoErrorCode.h) and the
// engine's own message.
class CDaoException {
public:
    CDaoException(int code, std::string message);

    // The result code, whose low byte is one of DaoErrorCode.h; the SQLite engine gives
    // SQLite's extended codes.
    int GetErrorCode() const { return m_nErrorCode; }
    // The engine's own text, in English; the framework turns the code into a user message.
    const std::string& GetErrorMessage() const { return m_strMessage; }

    void Delete() { delete this; }

private:
    int m_nErrorCode;
    std::string m_strMessage;
};
