#pragma once

#include "JetDatabase.h"
#include "JetRowScanner.h"
#include "JetTableChoice.h"
#include "RecordReader.h"

// Reads the article records of a catalogue of the Windows program (a Jet 3, Jet 4 or ACE
// database, whatever its name), never writing to it. The table and its columns are chosen as
// JetTableChoice says; every row is a record, even one without any text, and carries its old
// number as key where the table has one.
class JetReader : public RecordReader {
public:
    // `table` names the table to read; empty lets the rules choose. Throws ExchangeError (or
    // TableChoiceError) when the file or the table cannot be read.
    explicit JetReader(const QString& path, const QString& table = QString());

    bool Next(ImportRecord& record) override;
    bool KeepsBlankRecords() const override { return true; }

private:
    JetDatabase m_database;
    JetTableChoice m_choice;
    JetRowScanner m_scanner;
};
