#pragma once

#include <QString>
#include <memory>

#include "RecordReader.h"
#include "RecordWriter.h"

// The exchange formats, told apart by a file's extension.
enum class ExchangeFormat { None, Csv, Ris, BibTex };

ExchangeFormat ExchangeFormatOf(const QString& path);
bool CanImport(ExchangeFormat format);
bool CanExport(ExchangeFormat format);

// A reader for a file of an importable format: a catalogue of the Windows program, recognised by
// its content, or a file of an exchange format. `table` chooses the table of a catalogue with
// several. Throws ExchangeError when it cannot be opened.
std::unique_ptr<RecordReader> OpenRecordReader(const QString& path,
                                               const QString& table = QString());
// A writer of an exportable format onto `device`.
std::unique_ptr<RecordWriter> MakeRecordWriter(ExchangeFormat format, QIODevice& device);
