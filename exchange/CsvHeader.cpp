#include "CsvHeader.h"

#include <algorithm>
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
    // A single known word proves nothing: magazines are called "Journal", articles "Editorial".
    // A header names at least two fields, every cell of it is a word, and there is no gap before
    // its last name; issue numbers and pages in the row mark it as data.
    std::vector<int> fields;
    std::array<bool, 4> taken{};
    int named = 0;
    std::size_t gapAt = cells.size();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QString folded = Folded(cells[i]);
        if (folded.isEmpty()) {
            if (!cells[i].trimmed().isEmpty()) {
                return {};
            }
            gapAt = std::min(gapAt, i);
        } else if (std::none_of(folded.begin(), folded.end(),
                                [](QChar c) { return c.isLetter(); })) {
            return {};
        }
        int field = FieldOfName(cells[i]);
        if (field >= 0 && taken[field]) {
            field = -1;
        }
        if (field >= 0) {
            if (gapAt < i) {
                return {};
            }
            taken[field] = true;
            ++named;
        }
        fields.push_back(field);
    }
    if (named < 2) {
        fields.clear();
    }
    return fields;
}
