#pragma once

#include <QStringList>

#include "ImportRecord.h"
#include "ImportSettings.h"

// Hands out the records of a file one by one, never holding more than a few at a time.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false at the end of the file. Throws ExchangeError, naming the line, when
    // the file cannot be read.
    virtual bool Next(ImportRecord& record) = 0;

    // How the source is read: what the reader detected, or what it was told instead, with the
    // columns it has met so far and where each goes. Known once the first record is read.
    virtual ImportSettings Settings() const { return {}; }
    // The headings of the columns that held text but go to no field, as far as read.
    virtual QStringList UntakenColumns() const { return {}; }
};
