#include "ForwardCursor.h"

#include "CDaoDatabase.h"
#include "DaoError.h"
#include "DaoErrorCode.h"

namespace {

// A server reads through a cursor that lives in a transaction; a file gives the same one look at
// the catalogue when it is asked for the same.
void RequireTransaction(const CDaoDatabase& database) {
    if (!database.InTransaction()) {
        ThrowDaoError(DaoErrorCode::kMisuse, "A cursor reads inside a transaction.");
    }
}

}  // namespace

ForwardCursor::ForwardCursor(CDaoDatabase& database, const std::string& sql,
                             const std::vector<std::string>& parameters) {
    RequireTransaction(database);
    m_pCursor = database.Engine()->OpenCursor(sql, parameters);
}

ForwardCursor ForwardCursor::Stream(CDaoDatabase& database, const std::string& sql) {
    RequireTransaction(database);
    return ForwardCursor(database.Engine()->OpenStream(sql));
}
