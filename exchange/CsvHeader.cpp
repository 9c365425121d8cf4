#include "CsvHeader.h"

#include <array>

#include "ArticleFields.h"

namespace {

struct KnownName {
    const char* name;
    int field;
};

// Names after folding: lower case, letters and digits only.
constexpr std::array kKnownNames{
    KnownName{"zeitschriftennummer", kIssueField},
    KnownName{"nummer", kIssueField},
    KnownName{"nr", kIssueField},
    KnownName{"heft", kIssueField},
    KnownName{"heftnummer", kIssueField},
    KnownName{"ausgabe", kIssueField},
    KnownName{"issue", kIssueField},
    KnownName{"number", kIssueField},
    KnownName{"no", kIssueField},
    KnownName{"zeitschriftenname", kMagazineField},
    KnownName{"zeitschrift", kMagazineField},
    KnownName{"magazin", kMagazineField},
    KnownName{"magazine", kMagazineField},
    KnownName{"journal", kMagazineField},
    KnownName{"journaltitle", kMagazineField},
    KnownName{"periodical", kMagazineField},
    KnownName{"publication", kMagazineField},
    KnownName{"publicationtitle", kMagazineField},
    KnownName{"artikelname", kArticleField},
    KnownName{"artikel", kArticleField},
    KnownName{"titel", kArticleField},
    KnownName{"title", kArticleField},
    KnownName{"article", kArticleField},
    KnownName{"articletitle", kArticleField},
    KnownName{"seite", kPageField},
    KnownName{"seiten", kPageField},
    KnownName{"page", kPageField},
    KnownName{"pages", kPageField},
    KnownName{"startpage", kPageField},
};

QString Folded(const QString& name) {
    QString folded;
    for (const QChar c : name.toCaseFolded()) {
        if (c.isLetterOrNumber()) {
            folded += c;
        }
    }
    return folded;
}

}  // namespace

int CsvHeader::FieldOfName(const QString& name) {
    const QString folded = Folded(name);
    for (const KnownName& known : kKnownNames) {
        if (folded == QLatin1String(known.name)) {
            return known.field;
        }
    }
    return -1;
}

std::vector<int> CsvHeader::ColumnFields(const std::vector<QString>& cells) {
    std::vector<int> fields;
    std::array<bool, 4> taken{};
    bool any = false;
    for (const QString& cell : cells) {
        int field = FieldOfName(cell);
        if (field >= 0 && taken[field]) {
            field = -1;
        }
        if (field >= 0) {
            taken[field] = true;
            any = true;
        }
        fields.push_back(field);
    }
    if (!any) {
        fields.clear();
    }
    return fields;
}
