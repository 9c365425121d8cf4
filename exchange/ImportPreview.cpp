#include "ImportPreview.h"

#include "ExchangeError.h"

ImportPreview ImportPreview::Of(const QString& path, const ImportSettings& settings,
                                std::size_t count) {
    ImportPreview preview;
    preview.format = ImportFormatOf(path);
    try {
        const std::unique_ptr<RecordReader> reader = OpenRecordReader(path, settings);
        ImportRecord record;
        while (preview.records.size() < count && reader->Next(record)) {
            ArticleFields& texts = preview.records.emplace_back();
            for (std::size_t i = 0; i < texts.size(); ++i) {
                texts[i] = record.fields[i].value_or(QString());
            }
        }
        preview.settings = reader->Settings();
    } catch (const ExchangeError& e) {
        preview.error = e.Message();
        preview.settings = settings;
    }
    return preview;
}
