#pragma once

#include <QString>
#include <string>
#include <vector>

// A statement for the view's record set and the values for its placeholders.
struct ArticleQuery {
    std::string statement;
    std::vector<std::string> parameters;
};

// The longest text that a search takes, in characters: enough for any article name, and short
// enough that no search text can keep an engine busy for long.
constexpr int kSearchTextLimit = 255;

// Selects the articles whose name contains `text`, taken literally. The pattern is a bound
// value, so no search text can end it or change the statement, and its pattern characters are
// escaped, so none widens the search.
ArticleQuery ArticleQueryFor(const QString& text);

// The whole table.
ArticleQuery WholeTableQuery();
