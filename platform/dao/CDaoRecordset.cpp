#include "CDaoRecordset.h"

#include <algorithm>
#include <utility>

#include "CDaoDatabase.h"
#include "CDaoTransaction.h"
#include "DaoError.h"
#include "DaoErrorCode.h"
#include "DaoSelection.h"
#include "KeySet.h"

namespace {

[[noreturn]] void ThrowNoCurrentRecord() {
    ThrowDaoError(DaoErrorCode::kMisuse, "No current record.");
}

// The state of an open set; throws when the set is closed.
template <typename Impl>
Impl& OpenImpl(const std::unique_ptr<Impl>& impl) {
    if (!impl) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The record set is not open.");
    }
    return *impl;
}

}  // namespace

struct CDaoRecordset::Impl {
    enum class EditMode { None, Edit, AddNew };

    Impl(CDaoDatabase& database, std::unique_ptr<DaoSelection> selected)
        : db(database), rows(std::move(selected)) {}

    bool HasCurrent() const {
        return !bof && !eof && !afterDelete && position >= 0 &&
               static_cast<std::size_t>(position) < keys.Size();
    }
    std::int64_t CurrentKey() const {
        if (!HasCurrent()) {
            ThrowNoCurrentRecord();
        }
        return keys[static_cast<std::size_t>(position)];
    }
    long Size() const { return static_cast<long>(keys.Size()); }

    // Ends a pending edit and forgets the row read for the current record.
    void ResetRecordState() {
        editMode = EditMode::None;
        pending.clear();
        row.clear();
    }

    // Field values come from one read of the row per pass over the fields: the fields of a form
    // then show one version of the record, and reading a field a second time reads the row
    // again. Outside a transaction every read is one of its own, which takes and releases the
    // file's lock; inside one the row stays as read until the transaction ends.
    const COleVariant& FieldValue(int field) {
        const std::size_t column = ColumnOf(field);
        const std::int64_t key = CurrentKey();
        const bool stillValid = db.InTransaction() && rowSerial == db.TransactionSerial();
        if (row.empty() || (served[column] && !stillValid)) {
            row = rows->Read(key);
            served.assign(row.size(), false);
            rowSerial = db.TransactionSerial();
        }
        served[column] = true;
        return row[column];
    }

    // Makes `target` the current record, or the position before the first / after the last
    // record when it lies outside the set. Leaving a record drops its pending edit.
    void MoveTo(long target) {
        ResetRecordState();
        afterDelete = false;
        if (target < 0) {
            position = -1;
            bof = true;
            eof = keys.Empty();
        } else if (target >= Size()) {
            position = Size();
            eof = true;
            bof = keys.Empty();
        } else {
            position = target;
            bof = eof = false;
        }
    }

    // A write inside a read transaction would have to upgrade its lock, which can fail at once
    // instead of waiting (see CDaoDatabase::BeginTrans).
    void RequireWritable() const {
        if (db.InTransaction() && !db.InWriteTransaction()) {
            ThrowDaoError(DaoErrorCode::kMisuse, "A write needs a write transaction.");
        }
    }

    std::size_t ColumnOf(int field) const {
        const std::optional<std::size_t> column = rows->ColumnOf(field);
        if (!column) {
            ThrowDaoError(DaoErrorCode::kRange, "There is no field " + std::to_string(field) + ".");
        }
        return *column;
    }

    // Inside a transaction an add or delete is only as final as the transaction's commit.
    void NoteKeyChange(bool added, std::size_t index, std::int64_t key) {
        if (db.InTransaction()) {
            keyChanges.push_back({added, index, key});
        }
    }

    // The transaction that added or deleted these keys did not commit: the set gets back the
    // keys the file holds, and keeps its current record if that is still there.
    void UndoKeyChanges() {
        if (keyChanges.empty()) {
            return;
        }
        const bool hadCurrent = HasCurrent();
        const std::int64_t current = hadCurrent ? CurrentKey() : 0;
        for (auto change = keyChanges.rbegin(); change != keyChanges.rend(); ++change) {
            if (!change->added) {
                keys.InsertAt(std::min(change->index, keys.Size()), change->key);
            } else if (const std::optional<std::size_t> index = keys.Find(change->key)) {
                keys.EraseAt(*index);
            }
        }
        keyChanges.clear();
        const std::optional<std::size_t> index = hadCurrent ? keys.Find(current) : std::nullopt;
        MoveTo(index ? static_cast<long>(*index) : (keys.Empty() ? -1 : 0));
    }

    // Writes the set fields whose value differs from the stored one, and nothing when none
    // does. Throws NotFound when the row has gone.
    void WriteChanged(std::int64_t key, const std::vector<PendingField>& pending) {
        const std::optional<std::vector<COleVariant>> stored = rows->ReadForWrite(key);
        if (!stored) {
            ThrowDaoError(DaoErrorCode::kNotFound, "The record has been deleted.");
        }
        std::vector<PendingField> changed(pending.size());
        bool any = false;
        for (std::size_t column = 0; column < pending.size(); ++column) {
            if (pending[column].isSet && !HoldsText((*stored)[column], pending[column].value)) {
                changed[column] = pending[column];
                any = true;
            }
        }
        if (any) {
            Write(key, changed);
        }
    }

    // Stores each change whose field still holds the loaded text (see DecideFieldMerge), all or
    // none: a field that someone else changed meanwhile writes nothing and reports Conflict,
    // with `current` holding each field's stored value in the order of `changes`. The caller
    // runs this in a write transaction, so that the comparison and the write see the same row.
    MergeOutcome WriteMerged(std::int64_t key, const std::vector<FieldChange>& changes,
                             std::vector<COleVariant>& current) {
        const std::optional<std::vector<COleVariant>> stored = rows->ReadForWrite(key);
        if (!stored) {
            return MergeOutcome::Deleted;
        }
        std::vector<PendingField> changed(rows->ColumnCount());
        bool any = false;
        bool conflict = false;
        current.clear();
        for (const FieldChange& change : changes) {
            const std::size_t column = ColumnOf(change.field);
            current.push_back((*stored)[column]);
            switch (DecideFieldMerge((*stored)[column], change.loaded, change.value)) {
                case FieldMergeStep::Write:
                    changed[column] = {true, change.value};
                    any = true;
                    break;
                case FieldMergeStep::AlreadyThere:
                    break;
                case FieldMergeStep::Conflict:
                    conflict = true;
                    break;
            }
        }
        if (conflict) {
            return MergeOutcome::Conflict;
        }
        if (any) {
            Write(key, changed);
        }
        return MergeOutcome::Stored;
    }

    void Write(std::int64_t key, const std::vector<PendingField>& changed) {
        if (changed[rows->KeyColumn()].isSet) {
            // The set and its bookmarks find rows by key; a record keeps its key for its
            // lifetime.
            ThrowDaoError(DaoErrorCode::kMisuse, "The key field of a record cannot be changed.");
        }
        rows->Write(key, changed);
    }

    void SetPending(int field, std::optional<std::string> value) {
        const std::size_t column = ColumnOf(field);
        if (editMode == EditMode::None) {
            ThrowDaoError(DaoErrorCode::kMisuse, "Fields can only be set after Edit or AddNew.");
        }
        pending[column] = {true, std::move(value)};
    }

    CDaoDatabase& db;
    std::unique_ptr<DaoSelection> rows;
    KeySet keys;
    // The current record's index, -1 before the first and Size() after the last. After a
    // Delete it is the index of the record that followed the deleted one.
    long position = -1;
    bool bof = true;
    bool eof = true;
    bool afterDelete = false;
    EditMode editMode = EditMode::None;
    std::int64_t editKey = 0;
    std::vector<PendingField> pending;  // by column of the selection
    std::vector<COleVariant> row;       // the current record's row, if read; by column
    std::vector<bool> served;           // the columns of `row` handed out already
    std::uint64_t rowSerial = 0;        // the database transaction that read `row`
    struct KeyChange {
        bool added;
        std::size_t index;
        std::int64_t key;
    };
    std::vector<KeyChange> keyChanges;  // by Update and Delete in the open transaction, in order
};

CDaoRecordset::CDaoRecordset(CDaoDatabase* pDatabase) : m_pDatabase(pDatabase) {}

CDaoRecordset::~CDaoRecordset() {
    Close();
}

void CDaoRecordset::Open(int type, const std::string& sql, int options) {
    Open(type, sql, options, {});
}

void CDaoRecordset::Open(int type, const std::string& sql, int /*options*/,
                         const std::vector<std::string>& parameters) {
    Close();
    if (type != dbOpenDynaset) {
        ThrowDaoError(DaoErrorCode::kMisuse, "Only dynaset record sets are supported.");
    }
    Adopt(Query(sql, parameters));
}

void CDaoRecordset::Reopen(const std::string& sql, const std::vector<std::string>& parameters) {
    std::unique_ptr<Impl> impl = Query(sql, parameters);
    Close();
    Adopt(std::move(impl));
}

std::unique_ptr<CDaoRecordset::Impl> CDaoRecordset::Query(
    const std::string& sql, const std::vector<std::string>& parameters) {
    if (m_pDatabase == nullptr || !m_pDatabase->IsOpen()) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The database is not open.");
    }
    // Analysing the query reads the schema; one transaction serves that and the keys.
    CDaoTransaction transaction(*m_pDatabase, false);
    auto impl =
        std::make_unique<Impl>(*m_pDatabase, m_pDatabase->Engine()->Select(sql, parameters));
    impl->rows->LoadKeys(impl->keys);
    impl->keys.Settle();
    transaction.Commit();
    if (!impl->keys.Empty()) {
        impl->position = 0;
        impl->bof = impl->eof = false;
    }
    return impl;
}

void CDaoRecordset::Adopt(std::unique_ptr<Impl> impl) {
    m_pImpl = std::move(impl);
    m_pDatabase->AttachRecordset(this);
}

void CDaoRecordset::Close() {
    if (m_pImpl) {
        m_pImpl.reset();
        m_pDatabase->DetachRecordset(this);
    }
}

bool CDaoRecordset::IsOpen() const {
    return m_pImpl != nullptr;
}

bool CDaoRecordset::IsBOF() const {
    return !m_pImpl || m_pImpl->bof;
}

bool CDaoRecordset::IsEOF() const {
    return !m_pImpl || m_pImpl->eof;
}

void CDaoRecordset::MoveFirst() {
    Impl& impl = OpenImpl(m_pImpl);
    if (impl.keys.Empty()) {
        ThrowNoCurrentRecord();
    }
    impl.MoveTo(0);
}

void CDaoRecordset::MoveLast() {
    Impl& impl = OpenImpl(m_pImpl);
    if (impl.keys.Empty()) {
        ThrowNoCurrentRecord();
    }
    impl.MoveTo(impl.Size() - 1);
}

void CDaoRecordset::MoveNext() {
    Move(1);
}

void CDaoRecordset::MovePrev() {
    Move(-1);
}

void CDaoRecordset::Move(long rows) {
    Impl& impl = OpenImpl(m_pImpl);
    if (rows == 0) {
        impl.CurrentKey();        // throws without a current record
        impl.ResetRecordState();  // the desktop engine's way to refresh the current record
        return;
    }
    if ((rows > 0 && impl.eof) || (rows < 0 && impl.bof)) {
        ThrowNoCurrentRecord();
    }
    // Past either end is as far as a move can go; clamping keeps the sum from overflowing.
    const long size = impl.Size();
    rows = std::clamp(rows, -size - 2, size + 2);
    // A deleted record sits between its neighbours: the next one is at its old index.
    const long from = impl.afterDelete && rows > 0 ? impl.position - 1 : impl.position;
    impl.MoveTo(from + rows);
}

long CDaoRecordset::GetRecordCount() const {
    return m_pImpl ? m_pImpl->Size() : 0;
}

long CDaoRecordset::GetAbsolutePosition() const {
    return m_pImpl && m_pImpl->HasCurrent() ? m_pImpl->position : -1;
}

COleVariant CDaoRecordset::GetFieldValue(int index) {
    return OpenImpl(m_pImpl).FieldValue(index);
}

void CDaoRecordset::SetFieldValue(int index, const std::string& text) {
    OpenImpl(m_pImpl).SetPending(index, text);
}

void CDaoRecordset::SetFieldValueNull(int index) {
    OpenImpl(m_pImpl).SetPending(index, std::nullopt);
}

void CDaoRecordset::AddNew() {
    Impl& impl = OpenImpl(m_pImpl);
    impl.ResetRecordState();
    impl.editMode = Impl::EditMode::AddNew;
    impl.pending.resize(impl.rows->ColumnCount());
}

void CDaoRecordset::Edit() {
    Impl& impl = OpenImpl(m_pImpl);
    const std::int64_t key = impl.CurrentKey();
    impl.ResetRecordState();
    impl.editMode = Impl::EditMode::Edit;
    impl.editKey = key;
    impl.pending.resize(impl.rows->ColumnCount());
}

void CDaoRecordset::Update() {
    Impl& impl = OpenImpl(m_pImpl);
    if (impl.editMode == Impl::EditMode::None) {
        ThrowDaoError(DaoErrorCode::kMisuse, "Update needs Edit or AddNew first.");
    }
    impl.RequireWritable();
    // The edit ends here whether or not the write succeeds; after a failure the caller starts
    // again with Edit or AddNew.
    const Impl::EditMode mode = impl.editMode;
    const std::vector<PendingField> pending = std::move(impl.pending);
    impl.ResetRecordState();
    if (mode == Impl::EditMode::Edit) {
        impl.WriteChanged(impl.editKey, pending);
        return;
    }
    const std::int64_t added = impl.rows->Insert(pending);
    impl.keys.Append(added);
    impl.NoteKeyChange(true, impl.keys.Size() - 1, added);
    // The current record stays what it was; a position after the last record stays there.
    if (impl.eof) {
        impl.position = impl.Size();
    }
}

void CDaoRecordset::CancelUpdate() {
    if (m_pImpl) {
        m_pImpl->ResetRecordState();
    }
}

void CDaoRecordset::Delete() {
    Impl& impl = OpenImpl(m_pImpl);
    const std::int64_t key = impl.CurrentKey();
    impl.RequireWritable();
    impl.ResetRecordState();
    // A row that another connection deleted already only has its key left to remove.
    impl.rows->Remove(key);
    impl.keys.EraseAt(static_cast<std::size_t>(impl.position));
    impl.NoteKeyChange(false, static_cast<std::size_t>(impl.position), key);
    impl.afterDelete = true;
}

short CDaoRecordset::GetFieldCount() const {
    return static_cast<short>(OpenImpl(m_pImpl).rows->FieldCount());
}

std::string CDaoRecordset::GetFieldName(int index) const {
    const Impl& impl = OpenImpl(m_pImpl);
    return impl.rows->ColumnName(impl.ColumnOf(index));
}

MergeOutcome CDaoRecordset::StoreChanges(const COleVariant& key,
                                         const std::vector<FieldChange>& changes,
                                         std::vector<COleVariant>& current) {
    Impl& impl = OpenImpl(m_pImpl);
    const std::optional<std::int64_t> id = key.GetInteger();
    if (!id) {
        ThrowDaoError(DaoErrorCode::kMismatch, "A record key is an integer.");
    }
    CDaoTransaction transaction(*m_pDatabase, true);
    const MergeOutcome outcome = impl.WriteMerged(*id, changes, current);
    transaction.Commit();
    if (outcome == MergeOutcome::Stored && impl.HasCurrent() && impl.CurrentKey() == *id) {
        impl.row.clear();  // the current record's row as read is out of date
    }
    return outcome;
}

void CDaoRecordset::Requery() {
    Impl& impl = OpenImpl(m_pImpl);
    CDaoTransaction transaction(*m_pDatabase, false);
    if (!impl.rows->CatchUp(impl.keys)) {
        KeySet keys;
        keys.Reserve(impl.keys.Size());
        impl.rows->LoadKeys(keys);
        keys.Settle();
        impl.keys = std::move(keys);
    }
    transaction.Commit();
    impl.MoveTo(impl.keys.Empty() ? -1 : 0);
}

void CDaoRecordset::EndTransaction(bool committed) {
    if (!m_pImpl) {
        return;
    }
    if (committed) {
        m_pImpl->keyChanges.clear();
    } else {
        m_pImpl->UndoKeyChanges();
    }
}

COleVariant CDaoRecordset::GetBookmark() const {
    return COleVariant(OpenImpl(m_pImpl).CurrentKey());
}

void CDaoRecordset::SetBookmark(const COleVariant& bookmark) {
    Impl& impl = OpenImpl(m_pImpl);
    const std::optional<std::int64_t> key = bookmark.GetInteger();
    const std::optional<std::size_t> index = key ? impl.keys.Find(*key) : std::nullopt;
    if (!index) {
        ThrowDaoError(DaoErrorCode::kNotFound, "The bookmark is not in the record set.");
    }
    impl.MoveTo(static_cast<long>(*index));
}

bool CDaoRecordset::HasBookmark(const COleVariant& bookmark) const {
    const std::optional<std::int64_t> key = bookmark.GetInteger();
    return m_pImpl && key && m_pImpl->keys.Find(*key).has_value();
}
