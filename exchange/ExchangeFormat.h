#pragma once

#include <QString>
#include <memory>

#include "RecordReader.h"
#include "RecordWriter.h"

// The exchange formats, told apart by a file's extension.
enum class ExchangeFormat { None, Csv, Ris, BibTex };

ExchangeFormat ExchangeFormatOf(const QString& path);
// The format a file is read in: its extension's, or for another name what its content shows
// (a RIS export saved as "liste.txt").
ExchangeFormat ImportFormatOf(const QString& path);
bool CanImport(ExchangeFormat format);
bool CanExport(ExchangeFormat format);

// A reader for a file of an importable format: a catalogue of the Windows program, recognised by
// its content, or a file of an exchange format, reading it as `settings` say where they say
// anything. Throws ExchangeError when it cannot be opened.
std::unique_ptr<RecordReader> OpenRecordReader(const QString& path,
                                               const ImportSettings& settings = {});
// A writer of an exportable format onto `device`.
std::unique_ptr<RecordWriter> MakeRecordWriter(ExchangeFormat format, QIODevice& device);
