#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DaoAppender.h"
#include "DaoChange.h"
#include "DaoCursor.h"
#include "DaoSelection.h"

// One connection of the record store to a catalogue, whatever keeps it. CDaoDatabase nests
// transactions and counts them; an engine only begins and ends the outermost one. Failures
// throw CDaoException pointers.
class DaoEngine {
public:
    virtual ~DaoEngine() = default;

    // True when the catalogue could only be opened for reading.
    virtual bool IsReadOnly() const = 0;

    // A write transaction takes what it needs to write up front, so that it never has to wait
    // for a lock halfway through.
    virtual void Begin(bool write) = 0;
    // Throws when the commit fails, leaving no transaction open.
    virtual void Commit() = 0;
    // Ends the transaction, if one is open, writing nothing; never throws.
    virtual void Rollback() = 0;

    // Whether another connection committed a change since the last call (the first call after
    // opening compares with the state at opening), or the connection to a server broke. Cheap:
    // no table is read. A broken connection is reported, not thrown, and made again bit by bit
    // between calls, never waiting for the server.
    virtual DaoChange CheckForChanges() = 0;
    // A descriptor that turns readable when another connection may have changed the
    // catalogue, for an event loop to watch; -1 when CheckForChanges must be polled.
    virtual int ChangeDescriptor() const { return -1; }

    // Runs statements that take no values, separated by semicolons (a schema, say), in the
    // current transaction if one is open.
    virtual void Execute(const std::string& sql) = 0;

    // Analyses a query over one table whose result columns include the table's integer key;
    // `parameters` are bound to its placeholders in order. Throws when the query cannot run
    // or does not select from exactly one table.
    virtual std::unique_ptr<DaoSelection> Select(const std::string& sql,
                                                 const std::vector<std::string>& parameters) = 0;

    // Table and column names below are given as an SQL text would give them unquoted; each
    // engine quotes them its own way.
    // Whether the catalogue has a table of this name.
    virtual bool HasTable(const std::string& table) = 0;
    // Reads the rows of a query once, front to back, inside the current transaction;
    // `parameters` are bound to its placeholders in order.
    virtual std::unique_ptr<DaoCursor> OpenCursor(const std::string& sql,
                                                  const std::vector<std::string>& parameters) = 0;
    // The same for a query without placeholders whose rows are all read at once, to the end (a
    // copy): an engine may stream them its fastest way, which keeps the connection busy until
    // the last row is read.
    virtual std::unique_ptr<DaoCursor> OpenStream(const std::string& sql) {
        return OpenCursor(sql, {});
    }
    // Appends rows to `columns` of `table` inside the current write transaction. `emptyTable`
    // says that the table holds no rows in this transaction, so that the engine may build its
    // secondary indexes once after the load rather than row by row.
    virtual std::unique_ptr<DaoAppender> OpenAppender(const std::string& table,
                                                      const std::vector<std::string>& columns,
                                                      bool emptyTable) = 0;
};
