#include "JetReader.h"

JetReader::JetReader(const QString& path, const QString& table)
    : m_database(path),
      m_choice(JetTableChoice::Make(m_database.Tables(), table, path)),
      m_scanner(m_database, m_database.Tables()[m_choice.table].name,
                m_database.Tables()[m_choice.table].definitionPage) {}

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
