#pragma once

#include "JetDatabase.h"
#include "JetRowScanner.h"
#include "JetTableChoice.h"
#include "RecordReader.h"

// Reads the article records of a catalogue of the Windows program (a Jet 3, Jet 4 or ACE
// database, whatever its name), never writing to it. The table and its columns are chosen as
// JetTableChoice says; every row is a record, even one without any text, and carries its old
// number as key where the table has one and no two rows share it (else the order of the file
// stands for the order of the keys, and no record has a key).
class JetReader : public RecordReader {
public:
    // `table` names the table to read; empty lets the rules choose. Throws ExchangeError (or
    // TableChoiceError) when the file or the table cannot be read.
    explicit JetReader(const QString& path, const QString& table = QString());

    bool Next(ImportRecord& record) override;
    // About as many records as Next gives, for a progress display.
    unsigned long RecordCount() const { return m_scanner.RowCount(); }

private:
    // Whether every row has a key of its own; reads the keys of the whole table.
    bool KeysAreUnique() const;

    JetDatabase m_database;
    JetTableChoice m_choice;
    JetRowScanner m_scanner;
};
