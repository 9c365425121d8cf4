#include "ArticleQuery.h"

#include <LikeDialect.h>

ArticleQuery ArticleQueryFor(const QString& text) {
    return {"SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like ?))",
            {"*" + LikeLiteral(text.toStdString()) + "*"}};
}

ArticleQuery WholeTableQuery() {
    return {"SELECT * FROM Zeitschriften", {}};
}
