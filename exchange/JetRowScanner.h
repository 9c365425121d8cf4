#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "JetColumn.h"

class JetDatabase;

// Reads the rows of one table of a JetDatabase in the order of the file, one data page in
// memory at a time, and gives their values as text. Page numbers, row offsets and the lengths of
// memo chains are checked before they are followed, so that a damaged file ends with an
// ExchangeError instead of a crash, an endless loop or records silently left out.
class JetRowScanner {
public:
    // The table named `name` whose definition is on page `definitionPage`; the database
    // outlives the scanner. Throws ExchangeError when the definition is unreadable.
    JetRowScanner(const JetDatabase& database, const QString& name, unsigned long definitionPage);
    ~JetRowScanner();
    JetRowScanner(const JetRowScanner&) = delete;
    JetRowScanner& operator=(const JetRowScanner&) = delete;

    // Moves to the next row; false after the last one.
    bool Next();
    // The value of column `column` of the current row as text; nullopt for NULL. Memo fields come
    // whole, however long.
    std::optional<QString> Text(int column);
    // The value of a whole-number column; nullopt for NULL.
    std::optional<qint64> WholeNumber(int column);

    // The number of rows the table's definition counts; a file that was not closed properly may
    // have more.
    unsigned long RowCount() const;
    // The columns of the table, in their order.
    const std::vector<JetColumn>& Columns() const { return m_columns; }
    // The column named `name` (in any case); -1 when there is none.
    int Column(const QString& name) const;
    // The column of the table's primary key when that key has exactly one column; else -1.
    int PrimaryKey();

private:
    struct State;

    bool NextPage();
    [[noreturn]] void ThrowCutShort() const;
    QByteArray LongValue(int start, int size);

    const JetDatabase& m_database;
    QString m_strTable;
    std::vector<JetColumn> m_columns;
    std::unique_ptr<State> m_state;
};
