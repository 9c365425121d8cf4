#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "COleVariant.h"

class KeySet;

// A value given to a field between Edit/AddNew and Update; nullopt stands for NULL.
struct PendingField {
    bool isSet = false;
    std::optional<std::string> value;
};

// What an engine offers a dynaset over one query: the keys the query selects and single rows of
// its table by key. The table columns that the result columns show are numbered 0 to
// ColumnCount()-1, each once; rows are read and written in that numbering.
class DaoSelection {
public:
    virtual ~DaoSelection() = default;

    std::size_t FieldCount() const { return m_fieldColumns.size(); }
    std::size_t ColumnCount() const { return m_columnNames.size(); }
    // The column of the table's integer key.
    std::size_t KeyColumn() const { return m_keyColumn; }
    const std::string& ColumnName(std::size_t column) const { return m_columnNames[column]; }
    // The table column behind result column `field`; nullopt when there is no such field.
    std::optional<std::size_t> ColumnOf(int field) const;

    // Appends the keys that the query selects, in its order.
    virtual void LoadKeys(KeySet& keys) = 0;
    // Brings `keys`, loaded earlier in the query's order, up to what the query selects now,
    // when the engine can tell that without listing every key: other connections mostly change
    // fields or add records, and added records get keys above all earlier ones. Returns false,
    // `keys` untouched, when it cannot; the caller then loads them again.
    virtual bool CatchUp(KeySet& keys) = 0;

    // The row's values by column. Throws NotFound when the row has gone.
    virtual std::vector<COleVariant> Read(std::int64_t key) = 0;
    // The row's values by column for a write: the row stays locked against other writers until
    // the transaction ends (the caller's write transaction holds a file whole; a server locks
    // the row). nullopt when the row has gone.
    virtual std::optional<std::vector<COleVariant>> ReadForWrite(std::int64_t key) = 0;
    // Writes the pending fields that are set (by column) in one statement. Throws NotFound when
    // the row has gone.
    virtual void Write(std::int64_t key, const std::vector<PendingField>& changed) = 0;
    // Inserts a row with the pending fields (by column) set and returns its key.
    virtual std::int64_t Insert(const std::vector<PendingField>& pending) = 0;
    // Returns false when the row had already gone.
    virtual bool Remove(std::int64_t key) = 0;

protected:
    DaoSelection(std::vector<std::size_t> fieldColumns, std::vector<std::string> columnNames,
                 std::size_t keyColumn)
        : m_fieldColumns(std::move(fieldColumns)),
          m_columnNames(std::move(columnNames)),
          m_keyColumn(keyColumn) {}
    // For an engine that learns the shape only after it has begun to build the selection.
    void SetShape(std::vector<std::size_t> fieldColumns, std::vector<std::string> columnNames,
                  std::size_t keyColumn) {
        m_fieldColumns = std::move(fieldColumns);
        m_columnNames = std::move(columnNames);
        m_keyColumn = keyColumn;
    }

private:
    std::vector<std::size_t> m_fieldColumns;
    std::vector<std::string> m_columnNames;
    std::size_t m_keyColumn = 0;
};
