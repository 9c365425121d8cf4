#include "CatalogueGenerator.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "CatalogueSchema.h"

namespace {

// SplitMix64 rather than <random>: the standard distributions may differ between library
// implementations, and a seed has to mean the same catalogue everywhere.
class Random {
public:
    explicit Random(unsigned seed) : state_(0x5045'5249'4F4C'4558ULL ^ seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E37'79B9'7F4A'7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBULL;
        return z ^ (z >> 31);
    }

    // Uniform enough in [0, bound) for word picking; bound is small.
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }

    int Between(int low, int high) {
        return low + static_cast<int>(Below(static_cast<std::size_t>(high - low + 1)));
    }

    template <typename T>
    const T& Pick(std::span<const T> items) {
        return items[Below(items.size())];
    }

private:
    std::uint64_t state_;
};

using Words = std::span<const std::string_view>;

// One subject area: the magazines about it, subjects that fit any of the title patterns
// below, and a few titles that only make sense whole.
struct Topic {
    Words magazines;
    Words subjects;
    Words titles;
};

constexpr std::array<std::string_view, 3> kComputerMagazines = {"Rechenknecht", "Datenkompass",
                                                                "Bitfeld Magazin"};
constexpr std::array<std::string_view, 16> kComputerSubjects = {
    "Festplatten",   "Tintenstrahldrucker", "Modems",      "Tastaturen",      "Monitore",
    "Notebooks",     "Flachbettscanner",    "Datenbanken", "Grafikkarten",    "Heimnetzwerke",
    "Virenscanner",  "C++-Compiler",        "Soundkarten", "Bildbearbeitung", "Tabellenkalkulation",
    "Datensicherung"};
constexpr std::array<std::string_view, 6> kComputerTitles = {
    "C++ für Umsteiger",       "Speicher aufrüsten: So geht's",
    "Der Jahr-2000-Fehler",    "Was bringt ein Zweitrechner?",
    "Eigene Homepage in HTML", "Rechner leiser machen"};

constexpr std::array<std::string_view, 3> kCarMagazines = {"Kurbelwelle", "Auto & Reise heute",
                                                           "Zündfunke"};
constexpr std::array<std::string_view, 14> kCarSubjects = {
    "Kombis",      "Winterreifen",   "Kleinwagen",  "Cabrios",     "Dachboxen",
    "Kindersitze", "Autoradios",     "Motoröle",    "Kompaktvans", "Scheinwerfer",
    "Zündkerzen",  "Gebrauchtwagen", "Bremsbeläge", "Geländewagen"};
constexpr std::array<std::string_view, 6> kCarTitles = {
    "Katalysator nachrüsten?",     "Bis zu 20% weniger Verbrauch",  "Leasing oder Kauf?",
    "Pannenhilfe an der Autobahn", "Rost vorbeugen vor dem Winter", "Allrad für jedermann"};

constexpr std::array<std::string_view, 3> kGardenMagazines = {"Beet & Laube", "Gartenglück",
                                                              "Grünes Paradies"};
constexpr std::array<std::string_view, 15> kGardenSubjects = {
    "Gartenteiche", "Rosen",      "Obstbäume",      "Tomaten",       "Hochbeete",
    "Kräuter",      "Rasenmäher", "Blumenzwiebeln", "Stauden",       "Balkonkästen",
    "Häcksler",     "Kompost",    "Hecken",         "Gewächshäuser", "Nützlinge"};
constexpr std::array<std::string_view, 6> kGardenTitles = {
    "Gartenteich winterfest machen", "Schnecken ohne Gift bekämpfen", "Äpfel lagern ohne Verluste",
    "Gießen, aber richtig",          "Leserfrage: Moos im Rasen",     "Wühlmäuse vertreiben"};

constexpr std::array<std::string_view, 3> kCookingMagazines = {"Tellerrand", "Kochlöffel",
                                                               "Feinschmecker-Post"};
constexpr std::array<std::string_view, 14> kCookingSubjects = {
    "Suppen",       "Aufläufe",          "Küchenmaschinen", "Brot",    "Salate",
    "Wildgerichte", "Pralinen",          "Olivenöle",       "Töpfe",   "Plätzchen",
    "Spargel",      "Kartoffelgerichte", "Grillsoßen",      "Rotweine"};
constexpr std::array<std::string_view, 6> kCookingTitles = {
    "Grünkohl nach Bremer Art", "Rhabarber – süß und sauer",   "Grillen mit Gas oder Kohle?",
    "Plätzchen wie bei Oma",    "Festtagsmenü in drei Gängen", "Messer richtig schärfen"};

constexpr std::array<std::string_view, 3> kTravelMagazines = {"Fernweh-Journal", "Unterwegs",
                                                              "Reisezeit"};
constexpr std::array<std::string_view, 14> kTravelSubjects = {
    "Ostseeinseln", "Alpenpässe",      "Kanaren",    "Städtereisen", "Campingplätze",
    "Fernreisen",   "Ferienhäuser",    "Wanderwege", "Reisekoffer",  "Schlafsäcke",
    "Kreuzfahrten", "Jugendherbergen", "Bahnreisen", "Skigebiete"};
constexpr std::array<std::string_view, 6> kTravelTitles = {
    "Lissabon für Entdecker",    "Schottland im Regen – na und?", "Korsika zu Fuß",
    "Was tun bei Reisemängeln?", "Island: Feuer und Eis",         "Wien: Kaffeehaus und Kultur"};

constexpr std::array<std::string_view, 2> kPhotoMagazines = {"Lichtfang", "Blende 8"};
constexpr std::array<std::string_view, 13> kPhotoSubjects = {
    "Kompaktkameras",  "Spiegelreflexkameras", "Teleobjektive", "Stative",     "Diafilme",
    "Blitzgeräte",     "Diascanner",           "Filter",        "Fototaschen", "Porträts",
    "Makrofotografie", "Nachtaufnahmen",       "Dunkelkammer"};
constexpr std::array<std::string_view, 5> kPhotoTitles = {
    "Fünf Kompaktkameras im Test", "Der Goldene Schnitt", "Herbstlaub im Gegenlicht",
    "Schwarzweiß selbst entwickeln", "Filter: Welche braucht man?"};

constexpr std::array<std::string_view, 2> kScienceMagazines = {"Erkenntnis heute", "Forscherblick"};
constexpr std::array<std::string_view, 12> kScienceSubjects = {
    "Schwarze Löcher", "Zugvögel",      "Vulkane", "Supraleiter", "Erdbeben",  "Gletscher",
    "Quantenphysik",   "Tiefseefische", "Roboter", "Kernfusion",  "Allergien", "Bienenvölker"};
constexpr std::array<std::string_view, 5> kScienceTitles = {
    "Leben auf dem Mars?", "Wie entsteht ein Gewitter?", "Das Klima der Eiszeit",
    "Die Sprache der Delfine", "Das Gedächtnis trainieren"};

constexpr std::array<std::string_view, 2> kHifiMagazines = {"Klangraum", "Tonabnehmer"};
constexpr std::array<std::string_view, 13> kHifiSubjects = {
    "Standboxen",     "CD-Spieler",     "Röhrenverstärker", "Plattenspieler", "Kopfhörer",
    "Tuner",          "Kassettendecks", "Subwoofer",        "Kompaktanlagen", "Lautsprecherkabel",
    "Vollverstärker", "Tonarme",        "Netzfilter"};
constexpr std::array<std::string_view, 5> kHifiTitles = {
    "Rock'n'Roll auf Vinyl", "Vinyl ist zurück!", "Raumakustik verbessern",
    "Klassik: Die besten Aufnahmen", "Schallplatten reinigen"};

constexpr std::array<std::string_view, 2> kDiyMagazines = {"Werkbank Praxis", "Heimwerkerstube"};
constexpr std::array<std::string_view, 14> kDiySubjects = {
    "Akkuschrauber", "Stichsägen",     "Fliesen",      "Tapeten",   "Dübel",
    "Holzschutz",    "Parkett",        "Wärmedämmung", "Kaminöfen", "Treppen",
    "Gartenhäuser",  "Handkreissägen", "Dachrinnen",   "Werkbänke"};
constexpr std::array<std::string_view, 5> kDiyTitles = {
    "Regal aus Massivholz bauen", "Wasserhahn selbst wechseln", "Schimmel richtig bekämpfen",
    "Lampen selbst anschließen", "Werkstatt im Keller"};

constexpr std::array<std::string_view, 2> kEconomyMagazines = {"Marktbrief", "Geld & Anlage"};
constexpr std::array<std::string_view, 13> kEconomySubjects = {
    "Aktienfonds",    "Bausparverträge",  "Girokonten",           "Immobilien", "Festgeld",
    "Goldmünzen",     "Anleihen",         "Lebensversicherungen", "Kredite",    "Steuertipps",
    "Betriebsrenten", "Existenzgründung", "Telefonaktien"};
constexpr std::array<std::string_view, 6> kEconomyTitles = {
    "Kontogebühren: 50% sparen", "Der Euro kommt: Was tun?",   "Mieten oder kaufen?",
    "Selbstständig mit 50?",     "Der Ölpreis und die Folgen", "Erben und Schenken"};

constexpr std::array<std::string_view, 2> kBikeMagazines = {"Pedalwerk", "Radlerpost"};
constexpr std::array<std::string_view, 12> kBikeSubjects = {
    "Mountainbikes", "Trekkingräder",    "Fahrradschlösser", "Federgabeln",
    "Packtaschen",   "Rennräder",        "Liegeräder",       "Fahrradhelme",
    "Kinderräder",   "Nabenschaltungen", "Radwege",          "Fahrradlampen"};
constexpr std::array<std::string_view, 4> kBikeTitles = {
    "Radtour an der Mosel", "Alpenüberquerung per Rad", "Reifen flicken unterwegs",
    "Mit dem Rad zur Arbeit"};

constexpr std::array<std::string_view, 2> kHealthMagazines = {"Vitalpost", "Gesund leben"};
constexpr std::array<std::string_view, 12> kHealthSubjects = {
    "Heilkräuter", "Rückenschmerzen", "Vitamine", "Saunagänge",   "Laufschuhe", "Allergien",
    "Zahnbürsten", "Kontaktlinsen",   "Diäten",   "Schlafmittel", "Yogakurse",  "Erkältungen"};
constexpr std::array<std::string_view, 5> kHealthTitles = {
    "Fasten: Wie gesund ist es?", "Zecken: Gefahr im Gras", "Übergewicht: Was hilft?",
    "Grippeimpfung: Ja oder nein?", "Gut schlafen ohne Pillen"};

constexpr std::array<Topic, 12> kTopics = {{
    {kComputerMagazines, kComputerSubjects, kComputerTitles},
    {kCarMagazines, kCarSubjects, kCarTitles},
    {kGardenMagazines, kGardenSubjects, kGardenTitles},
    {kCookingMagazines, kCookingSubjects, kCookingTitles},
    {kTravelMagazines, kTravelSubjects, kTravelTitles},
    {kPhotoMagazines, kPhotoSubjects, kPhotoTitles},
    {kScienceMagazines, kScienceSubjects, kScienceTitles},
    {kHifiMagazines, kHifiSubjects, kHifiTitles},
    {kDiyMagazines, kDiySubjects, kDiyTitles},
    {kEconomyMagazines, kEconomySubjects, kEconomyTitles},
    {kBikeMagazines, kBikeSubjects, kBikeTitles},
    {kHealthMagazines, kHealthSubjects, kHealthTitles},
}};

// Each pattern is text before and after the subject.
struct Pattern {
    std::string_view before;
    std::string_view after;
};

constexpr std::array<Pattern, 16> kPatterns = {{
    {"", " im Test"},
    {"", " im Vergleich"},
    {"", " für Einsteiger"},
    {"Alles über ", ""},
    {"Praxis: ", ""},
    {"Neu: ", ""},
    {"Tipps: ", ""},
    {"", " im Überblick"},
    {"Ratgeber ", ""},
    {"", ": Was ist neu?"},
    {"So geht's: ", ""},
    {"Kaufberatung ", ""},
    {"", " – worauf achten?"},
    {"Leserfragen: ", ""},
    {"", " im Härtetest"},
    {"", ""},
}};

constexpr std::size_t kMaxFieldLength = 30;

// Characters, not bytes: the form limits what a person can type by characters.
std::size_t Utf8Length(std::string_view text) {
    std::size_t length = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) {
            ++length;
        }
    }
    return length;
}

void MakeTitle(Random& random, const Topic& topic, std::string& title) {
    title.clear();
    if (random.Below(6) == 0) {
        title = random.Pick(topic.titles);
        return;
    }
    const std::string_view subject = random.Pick(topic.subjects);
    // Some articles are series continued over several issues.
    if (random.Below(20) == 0) {
        title.append(subject).append(" [Teil ");
        title.push_back(static_cast<char>('1' + random.Below(4)));
        title.push_back(']');
    } else {
        const Pattern& pattern = kPatterns[random.Below(kPatterns.size())];
        title.append(pattern.before).append(subject).append(pattern.after);
    }
    if (Utf8Length(title) > kMaxFieldLength) {
        title = subject;
    }
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

void RemoveDatabaseFiles(const std::string& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        std::filesystem::remove(path + suffix, ignored);
    }
}

[[noreturn]] void Fail(const std::string& path, sqlite3* db, std::string_view what) {
    std::string message = "Cannot generate catalogue " + path + ": " + std::string(what);
    if (db != nullptr) {
        message += ": ";
        message += sqlite3_errmsg(db);
    }
    throw std::runtime_error(message);
}

void Execute(const std::string& path, sqlite3* db, const char* sql, std::string_view what) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(path, db, what);
    }
}

void Bind(const std::string& path, sqlite3* db, sqlite3_stmt* insert, int column,
          std::string_view text) {
    // The texts outlive the step that reads them, so SQLite need not copy them.
    if (sqlite3_bind_text(insert, column, text.data(), static_cast<int>(text.size()),
                          SQLITE_STATIC) != SQLITE_OK) {
        Fail(path, db, "binding a record");
    }
}

void Fill(const std::string& path, long records, unsigned seed) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw);
    if (opened != SQLITE_OK) {
        Fail(path, db.get(), "opening");
    }

    // Nothing to protect while the file is being made (a failure deletes it), so the journal and
    // syncing are off for speed. journal_mode=OFF lasts only for this connection: the file itself
    // stays a rollback-journal database.
    Execute(path, db.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", "setting pragmas");
    Execute(path, db.get(), "BEGIN", "starting the transaction");
    Execute(path, db.get(), kCatalogueSchemaSql, "creating the schema");

    sqlite3_stmt* rawInsert = nullptr;
    constexpr std::string_view kInsert =
        "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, Seite) "
        "VALUES (?1, ?2, ?3, ?4)";
    if (sqlite3_prepare_v3(db.get(), kInsert.data(), static_cast<int>(kInsert.size()),
                           SQLITE_PREPARE_PERSISTENT, &rawInsert, nullptr) != SQLITE_OK) {
        Fail(path, db.get(), "preparing the insert");
    }
    Statement insert(rawInsert);

    Random random(seed);
    std::string issue;
    std::string title;
    std::string page;
    std::string_view magazine;
    int articlesLeftInIssue = 0;
    int pageNumber = 0;
    const Topic* topic = nullptr;

    for (long i = 0; i < records; ++i) {
        // Records come issue by issue, pages ascending, as a person types them from a pile.
        if (articlesLeftInIssue == 0) {
            topic = &kTopics[random.Below(kTopics.size())];
            magazine = random.Pick(topic->magazines);
            issue = std::to_string(random.Between(1, 12)) + '/' +
                    std::to_string(random.Between(1975, 2024));
            articlesLeftInIssue = random.Between(3, 12);
            pageNumber = random.Between(3, 12);
        }
        --articlesLeftInIssue;
        MakeTitle(random, *topic, title);
        page = std::to_string(pageNumber);
        pageNumber += random.Between(2, 16);

        Bind(path, db.get(), insert.get(), 1, issue);
        Bind(path, db.get(), insert.get(), 2, magazine);
        Bind(path, db.get(), insert.get(), 3, title);
        Bind(path, db.get(), insert.get(), 4, page);
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            Fail(path, db.get(), "inserting record " + std::to_string(i + 1));
        }
        sqlite3_reset(insert.get());
    }
    insert.reset();

    Execute(path, db.get(), "COMMIT", "committing");
    Execute(path, db.get(), "PRAGMA journal_mode=DELETE", "restoring the journal mode");
    if (sqlite3_close(db.get()) != SQLITE_OK) {
        Fail(path, db.get(), "closing");
    }
    static_cast<void>(db.release());
}

}  // namespace

void GenerateCatalogue(const std::string& path, long records, unsigned seed) {
    if (records < 0) {
        throw std::runtime_error("Cannot generate catalogue " + path +
                                 ": the number of records must not be negative");
    }
    RemoveDatabaseFiles(path);
    try {
        Fill(path, records, seed);
    } catch (...) {
        RemoveDatabaseFiles(path);
        throw;
    }
}

std::string CachedCatalogue(long records) {
    const std::filesystem::path folder = PERIOLEX_BENCH_DATA;
    const std::filesystem::path path = folder / ("katalog-" + std::to_string(records) + ".plx");
    if (!std::filesystem::exists(path)) {
        std::filesystem::create_directories(folder);
        // Made under another name first, so that an interrupted run leaves no half catalogue.
        const std::string building = path.string() + ".building";
        GenerateCatalogue(building, records);
        std::filesystem::rename(building, path);
    }
    return path.string();
}
