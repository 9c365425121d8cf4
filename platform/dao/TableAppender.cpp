#include "TableAppender.h"

#include "CDaoDatabase.h"
#include "DaoError.h"
#include "DaoErrorCode.h"

TableAppender::TableAppender(CDaoDatabase& database, const std::string& table,
                             const std::vector<std::string>& columns, bool emptyTable) {
    if (!database.InWriteTransaction()) {
        ThrowDaoError(DaoErrorCode::kMisuse, "Rows are appended inside a write transaction.");
    }
    m_pAppender = database.Engine()->OpenAppender(table, columns, emptyTable);
}
