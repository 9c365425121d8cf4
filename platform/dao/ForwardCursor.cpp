#include "ForwardCursor.h"

#include "CDaoDatabase.h"
#include "DaoError.h"
#include "DaoErrorCode.h"

ForwardCursor::ForwardCursor(CDaoDatabase& database, const std::string& sql,
                             const std::vector<std::string>& parameters) {
    // A server reads through a cursor that lives in a transaction; a file gives the same one
    // look at the catalogue when it is asked for the same.
    if (!database.InTransaction()) {
        ThrowDaoError(DaoErrorCode::kMisuse, "A cursor reads inside a transaction.");
    }
    m_pCursor = database.Engine()->OpenCursor(sql, parameters);
}
