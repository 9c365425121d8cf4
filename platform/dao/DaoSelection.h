#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "COleVariant.h"
#include "FieldMerge.h"

class KeySet;

// A value given to a field between Edit/AddNew and Update; nullopt stands for NULL.
struct PendingField {
    bool isSet = false;
    std::optional<std::string> value;
};

// A field to store only if the catalogue still holds the value it was loaded with; nullopt is
// NULL.
struct MergeField {
    std::size_t column;  // a table column of the selection, see DaoSelection::ColumnOf
    std::optional<std::string> loaded;
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
    const std::string& ColumnName(std::size_t column) const { return m_columnNames[column]; }
    // The table column behind result column `field`; nullopt when there is no such field.
    std::optional<std::size_t> ColumnOf(int field) const;

    // Appends the keys that the query selects, in its order.
    virtual void LoadKeys(KeySet& keys) = 0;
    // Other connections mostly change fields or add records, and added records get keys above
    // all earlier ones. When that is all that happened since `keys` were loaded, appends the
    // keys above the last one and returns true; otherwise returns false, `keys` untouched.
    virtual bool AppendLaterKeys(KeySet& keys) = 0;

    // The row's values by column. Throws NotFound when the row has gone.
    virtual std::vector<COleVariant> Read(std::int64_t key) = 0;
    // Writes the pending fields (by column) whose value differs, as text, from the stored one.
    // Returns false, having written nothing, when none differs. Throws NotFound when the row
    // has gone.
    virtual bool WriteChanges(std::int64_t key, const std::vector<PendingField>& pending) = 0;
    // Writes each field whose stored value is still the loaded one; a field that already holds
    // the new value needs no write. When any other field was changed meanwhile, writes nothing
    // and reports Conflict; `current` then holds each field's stored value, in the order of
    // `fields`. The caller runs this in a write transaction, so that the comparison and the
    // write see the same row.
    virtual MergeOutcome WriteMerged(std::int64_t key, const std::vector<MergeField>& fields,
                                     std::vector<COleVariant>& current) = 0;
    // Inserts a row with the pending fields (by column) set and returns its key.
    virtual std::int64_t Insert(const std::vector<PendingField>& pending) = 0;
    // Returns false when the row had already gone.
    virtual bool Remove(std::int64_t key) = 0;

protected:
    DaoSelection(std::vector<std::size_t> fieldColumns, std::vector<std::string> columnNames)
        : m_fieldColumns(std::move(fieldColumns)), m_columnNames(std::move(columnNames)) {}
    // For an engine that learns the shape only after it has begun to build the selection.
    void SetShape(std::vector<std::size_t> fieldColumns, std::vector<std::string> columnNames) {
        m_fieldColumns = std::move(fieldColumns);
        m_columnNames = std::move(columnNames);
    }

private:
    std::vector<std::size_t> m_fieldColumns;
    std::vector<std::string> m_columnNames;
};
