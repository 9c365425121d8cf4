#include "CDaoException.h"

#include <utility>

#include "DaoError.h"

CDaoException::CDaoException(int code, std::string message)
    : m_nErrorCode(code), m_strMessage(std::move(message)) {}

void ThrowDaoError(int code, const std::string& message) {
    throw new CDaoException(code, message);
}
