#pragma once

#include <string>

// Throws a CDaoException pointer with one of the codes of DaoErrorCode.h (or an engine's more
// detailed code whose low byte is one of them) and the engine's own words.
[[noreturn]] void ThrowDaoError(int code, const std::string& message);
