#pragma once

#include <QString>

// The statement that selects the articles whose name contains `text`, taken literally: the
// apostrophe is doubled and the pattern characters * ? # [ are enclosed in brackets, so that no
// search text can end the quoted pattern or widen the search.
QString ArticleQueryStatement(const QString& text);

// The statement for the whole table.
QString WholeTableStatement();
