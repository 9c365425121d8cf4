#pragma once

#include <QString>
#include <array>

// The four texts of an article record, in the catalogue's order.
using ArticleFields = std::array<QString, 4>;

enum ArticleField { kIssueField = 0, kMagazineField = 1, kArticleField = 2, kPageField = 3 };
