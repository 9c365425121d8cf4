#pragma once

class CDaoDatabase;

// One level of a database transaction for the length of a scope. Ends rolled back unless
// Commit ran, so that a failure thrown out of the scope leaves nothing half written.
class CDaoTransaction {
public:
    // Throws CDaoException when the transaction cannot begin (the write lock stayed busy).
    CDaoTransaction(CDaoDatabase& database, bool write);
    ~CDaoTransaction();
    // The level moves with the object, so that a function can begin it for its caller.
    CDaoTransaction(CDaoTransaction&& other) noexcept;
    CDaoTransaction(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(CDaoTransaction&&) = delete;

    void Commit();
    // Ends the transaction at once, writing nothing; used before asking the user anything, so
    // that no lock is held while a dialog waits.
    void Rollback();

private:
    CDaoDatabase& m_database;
    bool m_bOpen = true;
};
