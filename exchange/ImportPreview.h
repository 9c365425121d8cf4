#pragma once

#include <vector>

#include "ArticleFields.h"
#include "ExchangeFormat.h"
#include "ImportSettings.h"

// The first records of a source as an import would take them, for the window that shows them
// before anything is written.
struct ImportPreview {
    ExchangeFormat format = ExchangeFormat::None;
    ImportSettings settings;  // everything as read: detected, or as asked for
    std::vector<ArticleFields> records;
    QString error;  // what went wrong reading the first records; empty when nothing did

    // Reads up to `count` records of `path` with `settings`.
    static ImportPreview Of(const QString& path, const ImportSettings& settings, std::size_t count);
};
