#pragma once

class CDaoDatabase;

// Everything written through the database between construction and Commit is stored together or
// not at all: leaving the scope without Commit, for instance through an exception, rolls it back.
// The write lock is taken at once, so a second writer waits (or fails) before any work is done.
class CDaoTransaction {
public:
    explicit CDaoTransaction(CDaoDatabase& database);  // throws CDaoException when busy
    ~CDaoTransaction();
    CDaoTransaction(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(const CDaoTransaction&) = delete;

    void Commit();

private:
    CDaoDatabase& m_database;
    bool m_bOpen = true;
};
