#include "ArticleQuery.h"

QString ArticleQueryStatement(const QString& text) {
    QString literal;
    literal.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\'':
                literal += QStringLiteral("''");
                break;
            case '*':
            case '?':
            case '#':
            case '[':
                literal += QLatin1Char('[') + c + QLatin1Char(']');
                break;
            default:
                literal += c;
                break;
        }
    }
    return QStringLiteral(
               "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like '*") +
           literal + QStringLiteral("*'))");
}

QString WholeTableStatement() {
    return QStringLiteral("SELECT * FROM Zeitschriften");
}
