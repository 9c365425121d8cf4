#pragma once

#include "ImportRecord.h"

// Hands out the records of a file one by one, never holding more than a few at a time.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false at the end of the file. Throws ExchangeError, naming the line, when
    // the file cannot be read.
    virtual bool Next(ImportRecord& record) = 0;
    // True when a record without any text is still one of the source's records (a row of a
    // database), not a blank line to be passed over.
    virtual bool KeepsBlankRecords() const { return false; }
};
