#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "COleVariant.h"
#include "FieldMerge.h"

class CDaoDatabase;

constexpr int dbOpenDynaset = 2;

// A dynaset over one table: Open runs the SQL text and keeps the keys of the selected rows in
// their order; field values are read live from the table for the current record only.
// Fields are reached by their position in the SQL text's result columns.
//
// Outside a transaction of the database every Update and Delete is its own committed
// transaction; inside one they join it, and the keys they add or remove come back as they were
// if that transaction rolls back or fails to commit. Edit/Update writes only the fields whose value
// differs from the stored one, and nothing at all when none does. All failures throw CDaoException
// pointers.
class CDaoRecordset {
public:
    explicit CDaoRecordset(CDaoDatabase* pDatabase);
    ~CDaoRecordset();  // closes the set
    CDaoRecordset(const CDaoRecordset&) = delete;
    CDaoRecordset& operator=(const CDaoRecordset&) = delete;

    // `type` must be dbOpenDynaset. The result columns must include the table's integer primary
    // key (as "SELECT * FROM table" does), so that each row can be found again.
    void Open(int type, const std::string& sql, int options = 0);
    // The same with values for the SQL text's placeholders (`?`), bound in order: a value
    // never becomes part of the statement.
    void Open(int type, const std::string& sql, int options,
              const std::vector<std::string>& parameters);
    // As Open, but the set stays as it was when the new query fails: a search that the server
    // refused, ended at its deadline or the user cancelled changes nothing.
    void Reopen(const std::string& sql, const std::vector<std::string>& parameters);
    void Close();
    bool IsOpen() const;

    // True once a move passed the first / last record; both true after opening an empty set.
    bool IsBOF() const;
    bool IsEOF() const;

    // MoveFirst and MoveLast throw on an empty set; MoveNext/MovePrev throw when already past
    // the end / the beginning. Move(n) moves n records on from the current one.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    void Move(long rows);

    // The number of keys in the set.
    long GetRecordCount() const;
    // The 0-based index of the current record; -1, without failing, when there is none.
    long GetAbsolutePosition() const;

    // Reads field `index` of the current record from the table. One read of the row serves a
    // pass over the fields, so a form shows one version of the record; reading a field a second
    // time, or after a move, Edit or Update, reads the row again, except inside one transaction
    // of the database, where the row cannot change under the reader. Throws when there is no
    // current record or its row has been deleted meanwhile.
    COleVariant GetFieldValue(int index);
    // Sets a field of the record being edited or added (between Edit/AddNew and Update).
    void SetFieldValue(int index, const std::string& text);
    void SetFieldValueNull(int index);

    void AddNew();  // Update then inserts a row and appends its key at the end of the set
    void Edit();    // Update then writes the changed fields into the current record
    void Update();
    void CancelUpdate();
    void Delete();  // removes the current row and its key; leaves no current record

    // The result columns of the SQL text, and the name of the table column behind each.
    short GetFieldCount() const;
    std::string GetFieldName(int index) const;

    // Stores changed fields into the record with `key`, whether or not this set holds it, each
    // only if the file still holds the text it was loaded with, in one write transaction (the
    // caller's, if one is open). On Conflict nothing is written and `current` holds each
    // field's stored value, in the order of `changes`.
    MergeOutcome StoreChanges(const COleVariant& key, const std::vector<FieldChange>& changes,
                              std::vector<COleVariant>& current);

    // The keys that the SQL text selects now, after other connections added or deleted
    // records; the first record becomes current. Reads only the keys above the last one when
    // nothing else changed.
    void Requery();

    // The key of the current record, and a move to the record with that key.
    COleVariant GetBookmark() const;
    void SetBookmark(const COleVariant& bookmark);  // throws when the key is not in the set
    bool HasBookmark(const COleVariant& bookmark) const;

private:
    // The database tells its open sets when its outermost transaction ends; one that did not
    // commit takes the set's own adds and deletes of keys back with it.
    friend class CDaoDatabase;
    void EndTransaction(bool committed);

    struct Impl;
    // The set of a query, read in a transaction of its own, and the set made the open one.
    std::unique_ptr<Impl> Query(const std::string& sql, const std::vector<std::string>& parameters);
    void Adopt(std::unique_ptr<Impl> impl);
    CDaoDatabase* m_pDatabase;
    std::unique_ptr<Impl> m_pImpl;
};
