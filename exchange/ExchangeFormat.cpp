#include "ExchangeFormat.h"

#include <QFileInfo>

#include "BibTexEntries.h"
#include "BibTexReader.h"
#include "BibTexWriter.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "ExchangeError.h"
#include "InputFile.h"
#include "JetReader.h"
#include "RisLine.h"
#include "RisReader.h"
#include "RisWriter.h"

ExchangeFormat ExchangeFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv")) {
        return ExchangeFormat::Csv;
    }
    if (suffix == QLatin1String("ris")) {
        return ExchangeFormat::Ris;
    }
    if (suffix == QLatin1String("bib")) {
        return ExchangeFormat::BibTex;
    }
    return ExchangeFormat::None;
}

ExchangeFormat ImportFormatOf(const QString& path) {
    const ExchangeFormat byName = ExchangeFormatOf(path);
    if (byName != ExchangeFormat::None) {
        return byName;
    }
    QByteArray start;
    try {
        InputFile(path).Read(start);
    } catch (const ExchangeError&) {
        return ExchangeFormat::None;
    }
    if (RisLine::StartsRisFile(start)) {
        return ExchangeFormat::Ris;
    }
    if (BibTexEntries::StartsBibTexFile(start)) {
        return ExchangeFormat::BibTex;
    }
    return ExchangeFormat::None;
}

bool CanImport(ExchangeFormat format) {
    return format != ExchangeFormat::None;
}

bool CanExport(ExchangeFormat format) {
    return format != ExchangeFormat::None;
}

std::unique_ptr<RecordReader> OpenRecordReader(const QString& path,
                                               const ImportSettings& settings) {
    if (JetDatabase::Recognises(path)) {
        return std::make_unique<JetReader>(path, settings.table);
    }
    switch (ImportFormatOf(path)) {
        case ExchangeFormat::Csv:
            return std::make_unique<CsvReader>(path, settings);
        case ExchangeFormat::Ris:
            return std::make_unique<RisReader>(path, settings);
        case ExchangeFormat::BibTex:
            return std::make_unique<BibTexReader>(path, settings);
        case ExchangeFormat::None:
            break;
    }
    throw ExchangeError(
        QStringLiteral("Aus „%1“ kann nicht importiert werden: nur CSV-, RIS- und BibTeX-Dateien "
                       "(*.csv, *.ris, *.bib) lassen sich einlesen.")
            .arg(QFileInfo(path).fileName()));
}

std::unique_ptr<RecordWriter> MakeRecordWriter(ExchangeFormat format, QIODevice& device) {
    switch (format) {
        case ExchangeFormat::Csv:
            return std::make_unique<CsvWriter>(device);
        case ExchangeFormat::Ris:
            return std::make_unique<RisWriter>(device);
        case ExchangeFormat::BibTex:
            return std::make_unique<BibTexWriter>(device);
        case ExchangeFormat::None:
            break;
    }
    throw ExchangeError(QStringLiteral(
        "Exportiert wird nach CSV, RIS oder BibTeX: die Zieldatei muss auf .csv, .ris oder .bib "
        "enden."));
}
