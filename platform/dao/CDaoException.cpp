#include "CDaoException.h"

#include <utility>

CDaoException::CDaoException(int sqliteCode, std::string message)
    : m_nErrorCode(sqliteCode), m_strMessage(std::move(message)) {}
