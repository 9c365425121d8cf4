#include "CDaoTransaction.h"

#include "CDaoDatabase.h"

CDaoTransaction::CDaoTransaction(CDaoDatabase& database, bool write) : m_database(database) {
    m_database.BeginTrans(write);
}

CDaoTransaction::CDaoTransaction(CDaoTransaction&& other) noexcept
    : m_database(other.m_database), m_bOpen(other.m_bOpen) {
    other.m_bOpen = false;
}

CDaoTransaction::~CDaoTransaction() {
    Rollback();
}

void CDaoTransaction::Commit() {
    if (m_bOpen) {
        m_bOpen = false;
        m_database.CommitTrans();
    }
}

void CDaoTransaction::Rollback() {
    if (m_bOpen) {
        m_bOpen = false;
        m_database.Rollback();
    }
}
