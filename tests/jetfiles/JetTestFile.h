#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

// A copy of one of the test databases in memory, edited the way a test needs before it is saved:
// a table or column renamed, a column's type changed, the rows of a page rewritten, pages of
// long values appended. The edits follow the Jet 3 layout (2 KB pages, rows under 256 bytes) and
// touch nothing else, so that what a test expects of an edited file follows from the original.
class JetTestFile {
public:
    static constexpr int kPageSize = 2048;

    // One row of a Jet 3 data page: its column count, its fixed-size part, its variable-size
    // values in their order, and its mask of columns that are not NULL.
    struct Row {
        int columns = 0;
        QByteArray fixed;
        std::vector<QByteArray> values;
        QByteArray notNull;
    };

    // The file `name` of the test data folder.
    static QString DataPath(const QString& name);

    explicit JetTestFile(const QString& name);

    QByteArray& Bytes() { return m_bytes; }
    // Writes the edited copy to `path` and returns `path`.
    QString Save(const QString& path) const;

    // Every occurrence of `from` becomes `to`, which has the same length.
    void Replace(const QByteArray& from, const QByteArray& to);
    // The catalogue's entry of table `from` names it `to`.
    void RenameTable(const QByteArray& from, const QByteArray& to);
    // In the table defined on page `definition`, the column `from` is named `to`.
    void RenameColumn(int definition, const QByteArray& from, const QByteArray& to);
    void SetColumnType(int definition, const QByteArray& column, char type);
    // Lays the rows of data page `page` out anew after `edit` has changed each.
    void RewriteRows(int page, const std::function<void(int index, Row& row)>& edit);
    // Appends a page of long values holding `rows`; returns its number.
    int AppendLongValuePage(const std::vector<QByteArray>& rows);

private:
    // The first column name of the table defined on `definition`, and the number of columns.
    int ColumnNames(int definition, int& columns) const;

    QByteArray m_bytes;
};
