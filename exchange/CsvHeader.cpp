#include "CsvHeader.h"

#include <algorithm>
#include <array>
#include <map>

namespace {

struct KnownName {
    const char* name;
    ColumnTarget target;
};

// Names after folding: lower case, letters and digits only.
constexpr std::array kKnownNames{
    KnownName{"zeitschriftennummer", ColumnTarget::Issue},
    KnownName{"nummer", ColumnTarget::Issue},
    KnownName{"nr", ColumnTarget::Issue},
    KnownName{"heft", ColumnTarget::Issue},
    KnownName{"heftnummer", ColumnTarget::Issue},
    KnownName{"heftnr", ColumnTarget::Issue},
    KnownName{"ausgabe", ColumnTarget::Issue},
    KnownName{"issue", ColumnTarget::Issue},
    KnownName{"number", ColumnTarget::Issue},
    KnownName{"no", ColumnTarget::Issue},
    KnownName{"zeitschriftenname", ColumnTarget::Magazine},
    KnownName{"zeitschrift", ColumnTarget::Magazine},
    KnownName{"zeitschriftentitel", ColumnTarget::Magazine},
    KnownName{"magazin", ColumnTarget::Magazine},
    KnownName{"magazine", ColumnTarget::Magazine},
    KnownName{"journal", ColumnTarget::Magazine},
    KnownName{"journalbook", ColumnTarget::Magazine},
    KnownName{"journaltitle", ColumnTarget::Magazine},
    KnownName{"journalname", ColumnTarget::Magazine},
    KnownName{"periodical", ColumnTarget::Magazine},
    KnownName{"publication", ColumnTarget::Magazine},
    KnownName{"publicationtitle", ColumnTarget::Magazine},
    KnownName{"publicationname", ColumnTarget::Magazine},
    KnownName{"sourcetitle", ColumnTarget::Magazine},
    KnownName{"secondarytitle", ColumnTarget::Magazine},
    KnownName{"artikelname", ColumnTarget::Article},
    KnownName{"artikel", ColumnTarget::Article},
    KnownName{"titel", ColumnTarget::Article},
    KnownName{"artikeltitel", ColumnTarget::Article},
    KnownName{"title", ColumnTarget::Article},
    KnownName{"article", ColumnTarget::Article},
    KnownName{"articletitle", ColumnTarget::Article},
    KnownName{"documenttitle", ColumnTarget::Article},
    KnownName{"primarytitle", ColumnTarget::Article},
    KnownName{"seite", ColumnTarget::Page},
    KnownName{"seiten", ColumnTarget::Page},
    KnownName{"startseite", ColumnTarget::Page},
    KnownName{"page", ColumnTarget::Page},
    KnownName{"pages", ColumnTarget::Page},
    KnownName{"startpage", ColumnTarget::Page},
    KnownName{"pagestart", ColumnTarget::Page},
    KnownName{"firstpage", ColumnTarget::Page},
    KnownName{"jahr", ColumnTarget::Year},
    KnownName{"erscheinungsjahr", ColumnTarget::Year},
    KnownName{"datum", ColumnTarget::Year},
    KnownName{"erscheinungsdatum", ColumnTarget::Year},
    KnownName{"year", ColumnTarget::Year},
    KnownName{"publicationyear", ColumnTarget::Year},
    KnownName{"pubyear", ColumnTarget::Year},
    KnownName{"date", ColumnTarget::Year},
    KnownName{"publicationdate", ColumnTarget::Year},
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

// The outline of a text: runs of letters become "a", runs of digits "9", other characters stay.
QString Shape(const QString& text) {
    QString shape;
    for (const QChar c : text.trimmed()) {
        const QChar kind = c.isLetter() ? QLatin1Char('a') : c.isDigit() ? QLatin1Char('9') : c;
        if (shape.isEmpty() || shape.back() != kind || (kind != 'a' && kind != '9')) {
            shape += kind;
        }
    }
    return shape;
}

// A cell looks like data when it has no letters (a number, an issue, a date, a page range), or
// when it has digits and the outline that most cells below it share ("Heft 3" over "Heft 4").
bool LooksLikeData(const QString& cell, std::size_t column,
                   const std::vector<std::vector<QString>>& below) {
    if (cell.trimmed().isEmpty()) {
        return false;
    }
    if (std::none_of(cell.begin(), cell.end(), [](QChar c) { return c.isLetter(); })) {
        return true;
    }
    if (std::none_of(cell.begin(), cell.end(), [](QChar c) { return c.isDigit(); })) {
        return false;
    }
    std::map<QString, int> shapes;
    int filled = 0;
    for (const std::vector<QString>& row : below) {
        if (column < row.size() && !row[column].trimmed().isEmpty()) {
            ++shapes[Shape(row[column])];
            ++filled;
        }
    }
    const auto found = shapes.find(Shape(cell));
    return found != shapes.end() && 2 * found->second > filled;
}

}  // namespace

std::optional<ColumnTarget> CsvHeader::KnownTarget(const QString& name) {
    const QString folded = Folded(name);
    for (const KnownName& known : kKnownNames) {
        if (folded == QLatin1String(known.name)) {
            return known.target;
        }
    }
    return std::nullopt;
}

bool CsvHeader::IsHeading(const std::vector<QString>& first,
                          const std::vector<std::vector<QString>>& below) {
    if (std::none_of(first.begin(), first.end(),
                     [](const QString& cell) { return KnownTarget(cell).has_value(); })) {
        return false;
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (LooksLikeData(first[i], i, below)) {
            return false;
        }
    }
    return true;
}

std::vector<ColumnTarget> CsvHeader::Targets(const std::vector<QString>& heading) {
    std::vector<ColumnTarget> targets;
    std::vector<ColumnTarget> taken;
    for (const QString& name : heading) {
        ColumnTarget target = KnownTarget(name).value_or(ColumnTarget::None);
        if (std::find(taken.begin(), taken.end(), target) != taken.end()) {
            target = ColumnTarget::None;
        }
        if (target != ColumnTarget::None) {
            taken.push_back(target);
        }
        targets.push_back(target);
    }
    return targets;
}
