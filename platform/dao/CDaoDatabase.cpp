#include "CDaoDatabase.h"

#include <algorithm>

#include "CDaoRecordset.h"
#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgEngine.h"
#include "PgTarget.h"
#include "SqliteEngine.h"

CDaoDatabase::~CDaoDatabase() {
    Close();
}

namespace {

// The password of a connect string such as ";PWD=secret" (the last part up to the end, so that
// a password may hold semicolons); empty without one.
std::string PasswordOf(const std::string& connect) {
    const std::size_t at = connect.find(";PWD=");
    return at == std::string::npos ? std::string() : connect.substr(at + 5);
}

// The user name of ";UID=name;PWD=...", which comes before the password.
std::string UserOf(const std::string& connect) {
    const std::size_t at = connect.find(";UID=");
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t end = connect.find(";PWD=", at + 5);
    return connect.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
}

}  // namespace

void CDaoDatabase::Open(const std::string& path, bool /*exclusive*/, bool readOnly,
                        const std::string& connect) {
    Close();
    if (PgTarget::IsServer(path)) {
        m_pEngine =
            std::make_unique<PgEngine>(path, readOnly, PasswordOf(connect), UserOf(connect));
    } else {
        m_pEngine = std::make_unique<SqliteEngine>(path, readOnly);
    }
    m_strName = path;
}

bool CDaoDatabase::IsServerPath(const std::string& path) {
    return PgTarget::IsServer(path);
}

std::string CDaoDatabase::ServerName(const std::string& path, std::string* user) {
    return PgTarget::ServerName(path, user);
}

bool CDaoDatabase::HoldsPassword(const std::string& path) {
    return PgTarget::HoldsPassword(path);
}

std::string CDaoDatabase::WithoutPassword(const std::string& path) {
    return PgTarget::WithoutPassword(path);
}

std::string CDaoDatabase::ServerUser(const std::string& path) {
    return PgTarget::UserName(path);
}

void CDaoDatabase::Close() {
    // Closing a record set detaches it, so work on a copy of the list.
    const std::vector<CDaoRecordset*> recordsets = m_openRecordsets;
    for (CDaoRecordset* recordset : recordsets) {
        recordset->Close();
    }
    m_openRecordsets.clear();
    m_nDepth = 0;
    m_pEngine.reset();
    m_strName.clear();
}

void CDaoDatabase::Execute(const std::string& sql) {
    if (!m_pEngine) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The database is not open.");
    }
    m_pEngine->Execute(sql);
}

bool CDaoDatabase::HasTable(const std::string& table) {
    if (!m_pEngine) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The database is not open.");
    }
    return m_pEngine->HasTable(table);
}

bool CDaoDatabase::IsReadOnly() const {
    return m_pEngine && m_pEngine->IsReadOnly();
}

void CDaoDatabase::AttachRecordset(CDaoRecordset* recordset) {
    m_openRecordsets.push_back(recordset);
}

void CDaoDatabase::DetachRecordset(CDaoRecordset* recordset) {
    std::erase(m_openRecordsets, recordset);
}

void CDaoDatabase::EndRecordsetTransactions(bool committed) {
    for (CDaoRecordset* recordset : m_openRecordsets) {
        recordset->EndTransaction(committed);
    }
}

void CDaoDatabase::BeginTrans(bool write) {
    if (!m_pEngine) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The database is not open.");
    }
    if (m_nDepth > 0) {
        if (write && !m_bWrite && !m_bRolledBack) {
            ThrowDaoError(DaoErrorCode::kMisuse, "A write cannot join a read transaction.");
        }
        ++m_nDepth;
        return;
    }
    m_pEngine->Begin(write);
    m_nDepth = 1;
    m_bWrite = write;
    m_bRolledBack = false;
    ++m_nSerial;
    // What the sets changed before is final: writes that went on after a rollback, at an inner
    // level, were committed on their own.
    EndRecordsetTransactions(true);
}

void CDaoDatabase::CommitTrans() {
    if (m_nDepth == 0) {
        ThrowDaoError(DaoErrorCode::kMisuse, "There is no transaction to commit.");
    }
    if (m_nDepth > 1 || m_bRolledBack) {
        --m_nDepth;
        return;
    }
    // The transaction stays open until the engine's commit returns: whatever runs while a server
    // is waited for (a window's timer) finds the connection busy.
    try {
        m_pEngine->Commit();
    } catch (...) {
        m_nDepth = 0;
        // What was read in the failed transaction may show writes that never happened.
        ++m_nSerial;
        EndRecordsetTransactions(false);
        throw;
    }
    m_nDepth = 0;
    EndRecordsetTransactions(true);
}

void CDaoDatabase::Rollback() {
    if (m_nDepth == 0) {
        return;
    }
    if (!m_bRolledBack) {
        m_pEngine->Rollback();
        EndRecordsetTransactions(false);
    }
    // Rows read in the rolled-back transaction may show writes that never happened.
    ++m_nSerial;
    m_bRolledBack = true;
    --m_nDepth;
}

DaoChange CDaoDatabase::CheckForChanges() {
    return m_pEngine ? m_pEngine->CheckForChanges() : DaoChange::Unchanged;
}

int CDaoDatabase::ChangeDescriptor() const {
    return m_pEngine ? m_pEngine->ChangeDescriptor() : -1;
}
