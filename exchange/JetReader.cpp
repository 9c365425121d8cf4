#include "JetReader.h"

#include <algorithm>
#include <vector>

JetReader::JetReader(const QString& path, const QString& table)
    : m_database(path),
      m_choice(JetTableChoice::Make(m_database.Tables(), table, path)),
      m_scanner(m_database, m_database.Tables()[m_choice.table].name,
                m_database.Tables()[m_choice.table].definitionPage) {
    if (m_choice.key >= 0 && !KeysAreUnique()) {
        m_choice.key = -1;
    }
}

bool JetReader::KeysAreUnique() const {
    // Keys that rise from row to row in the file are unique without holding any of them; only
    // a file whose rows lie out of key order costs a second reading and a sorted list of keys.
    const JetTableInfo& table = m_database.Tables()[m_choice.table];
    std::optional<qint64> last;
    JetRowScanner rows(m_database, table.name, table.definitionPage);
    while (rows.Next()) {
        const std::optional<qint64> key = rows.WholeNumber(m_choice.key);
        if (!key) {
            return false;
        }
        if (last && *key <= *last) {
            std::vector<qint64> keys;
            JetRowScanner again(m_database, table.name, table.definitionPage);
            while (again.Next()) {
                const std::optional<qint64> each = again.WholeNumber(m_choice.key);
                if (!each) {
                    return false;
                }
                keys.push_back(*each);
            }
            std::sort(keys.begin(), keys.end());
            return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
        }
        last = key;
    }
    return true;
}

bool JetReader::Next(ImportRecord& record) {
    if (!m_scanner.Next()) {
        return false;
    }
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const int column = m_choice.fields[i];
        record.fields[i] = column >= 0 ? m_scanner.Text(column) : std::nullopt;
    }
    record.key = m_choice.key >= 0 ? m_scanner.WholeNumber(m_choice.key) : std::nullopt;
    return true;
}
