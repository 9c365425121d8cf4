#pragma once

#include <memory>
#include <ostream>
#include <string>

// A catalogue with the articles table on one engine, for the tests that every engine must pass:
// a file in a temporary folder, or a schema of its own on the test server. Each holds a
// connection of its own to act as another program behind the record store's back.
class ScratchCatalogue {
public:
    virtual ~ScratchCatalogue() = default;
    // What CDaoDatabase::Open takes to reach the catalogue.
    virtual std::string Target() const = 0;
    // Runs statements in the SQL that both engines speak.
    virtual void Exec(const std::string& sql) = 0;
    // The first column of the first row as text; "<null>" for NULL, "<none>" without a row.
    virtual std::string Scalar(const std::string& sql) = 0;
    // Lets go of what a forked child must not inherit, until the next Exec or Scalar. A file's
    // connection must close: the database library keeps per-process books on open files that a
    // child's own connection would share. A server connection may stay open, as a child that
    // never uses it and ends with _exit leaves the socket to this process.
    virtual void PrepareForFork() {}
};
