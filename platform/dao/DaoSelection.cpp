#include "DaoSelection.h"

std::optional<std::size_t> DaoSelection::ColumnOf(int field) const {
    if (field < 0 || static_cast<std::size_t>(field) >= m_fieldColumns.size()) {
        return std::nullopt;
    }
    return m_fieldColumns[static_cast<std::size_t>(field)];
}
