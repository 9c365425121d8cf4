#include <CsvReader.h>
#include <sys/stat.h>

#include <QStringEncoder>

#include "ExchangeFiles.h"

namespace {

using CsvReaderTest = ExchangeFiles;

// What a German spreadsheet writes for "Save as CSV": ';', CRLF, every text that needs it quoted.
const QString kSpreadsheet = QStringLiteral(
    "Zeitschriftennummer;Zeitschriftenname;Artikelname;Seite\r\n"
    "3/1996;Datenkompass;Fünf 17-Zoll-Monitore im Test;18\r\n"
    "4/1995;Beet & Laube;\"Kräuter; Gewürze \"\"frisch\"\"\";24\r\n"
    "5/1995;Straßen & Wege;\"Zweizeilig\r\nder Rest\";\r\n"
    "\"\";\"\";\"\";\"\"\r\n"
    ";;;\r\n");

const std::vector<ArticleFields> kSpreadsheetRecords{
    {"3/1996", "Datenkompass", "Fünf 17-Zoll-Monitore im Test", "18"},
    {"4/1995", "Beet & Laube", "Kräuter; Gewürze \"frisch\"", "24"},
    {"5/1995", "Straßen & Wege", "Zweizeilig\r\nder Rest", ""},
    {"", "", "", ""},
};

TEST_F(CsvReaderTest, ReadsWhatGermanSpreadsheetsSaveInBothEncodings) {
    QStringEncoder windows1252("windows-1252");
    const QByteArray legacy = windows1252(kSpreadsheet);
    ASSERT_FALSE(windows1252.hasError());
    for (const QByteArray& bytes :
         {QByteArray("\xEF\xBB\xBF") + kSpreadsheet.toUtf8(), kSpreadsheet.toUtf8(), legacy}) {
        CsvReader reader(Write("liste.csv", bytes));
        EXPECT_EQ(ReadAll(reader), kSpreadsheetRecords);
    }
}

TEST_F(CsvReaderTest, DetectsTheSeparatorAndMapsEnglishColumnNames) {
    CsvReader commas(Write("a.csv",
                           "Title,Journal,Issue,Start Page,Author\n"
                           "\"Hello, world\",Byte Lines,9/1984,12,Smith; Jones\n"));
    EXPECT_EQ(ReadAll(commas),
              (std::vector<ArticleFields>{{"9/1984", "Byte Lines", "Hello, world", "12"}}));
    CsvReader tabs(Write("b.tsv.csv", "page\ttitle\n 7 \t  Leading spaces stay\n"));
    EXPECT_EQ(ReadAll(tabs),
              (std::vector<ArticleFields>{{"", "", "  Leading spaces stay", " 7 "}}));

    // The first line alone would mislead: a text with many commas, or with semicolons.
    CsvReader listInTitle(Write("c.csv",
                                "3/1996;Datenkompass;Drucker, Scanner, Modems, Mäuse, Plotter;3\n"
                                "4/1996;Datenkompass;Monitore;5\n"));
    EXPECT_EQ(ReadAll(listInTitle),
              (std::vector<ArticleFields>{
                  {"3/1996", "Datenkompass", "Drucker, Scanner, Modems, Mäuse, Plotter", "3"},
                  {"4/1996", "Datenkompass", "Monitore", "5"}}));
    CsvReader semicolonsInTitle(Write("d.csv",
                                      "9/1984,Byte Lines,Hardware; Software; Peripherie; Mehr,12\n"
                                      "\n10/1984,Byte Lines,Editorial,3\n"));
    EXPECT_EQ(ReadAll(semicolonsInTitle),
              (std::vector<ArticleFields>{
                  {"9/1984", "Byte Lines", "Hardware; Software; Peripherie; Mehr", "12"},
                  {"10/1984", "Byte Lines", "Editorial", "3"}}));
}

TEST_F(CsvReaderTest, WithoutHeaderTakesColumnsInTheCatalogueOrder) {
    CsvReader reader(
        Write("c.csv", "1/2000;Heimwerker;Regale bauen;3;Zusatz\n2/2000;Heimwerker\n"));
    EXPECT_EQ(ReadAll(reader),
              (std::vector<ArticleFields>{{"1/2000", "Heimwerker", "Regale bauen", "3"},
                                          {"2/2000", "Heimwerker", "", ""}}));

    // The first rows are narrower than a later one, whose columns still arrive.
    QByteArray narrowFirst;
    for (int i = 0; i < 30; ++i) {
        narrowFirst += "1/2000;Heimwerker\n";
    }
    CsvReader widening(Write("breiter.csv", narrowFirst + "2/2000;Heimwerker;Regale;7\n"));
    EXPECT_EQ(ReadAll(widening).back(), (ArticleFields{"2/2000", "Heimwerker", "Regale", "7"}));

    // Records whose texts happen to be column names are still records: a cell of the first row
    // looks like the data below it.
    for (const ArticleFields& first : {ArticleFields{"3/1996", "Magazin", "Editorial", "3"},
                                       ArticleFields{"5/1997", "Journal", "Titel", "8"},
                                       ArticleFields{"Heft 3", "Journal", "Titel", "S. 5"}}) {
        CsvReader namesAsData(Write(
            "d.csv",
            (QStringList(first.begin(), first.end()).join(QLatin1Char(';')) + "\nHeft 4;2;3;S. 7\n")
                .toUtf8()));
        EXPECT_EQ(ReadAll(namesAsData),
                  (std::vector<ArticleFields>{first, {"Heft 4", "2", "3", "S. 7"}}));
    }
}

// A heading with one known name among others, and columns the catalogue has no place for: the
// columns must not shift, and what is left out is said.
TEST_F(CsvReaderTest, RecognisesHeadingsAsAPersonWould) {
    CsvReader german(Write("liste.csv",
                           "Datum;Titel;Autor\n"
                           "12.03.1996;Monitore im Vergleich;Maier\n"
                           "1997-05;Drucker;Groß\n"));
    EXPECT_EQ(ReadAll(german),
              (std::vector<ArticleFields>{{"1996", "", "Monitore im Vergleich", ""},
                                          {"1997", "", "Drucker", ""}}));
    EXPECT_EQ(german.UntakenColumns(), QStringList{"Autor"});

    // One known name among unknown ones is heading enough.
    CsvReader oneName(
        Write("stichwort.csv", "Stichwort;Titel;Autor\nMonitore;Fünf Monitore;Maier\n"));
    EXPECT_EQ(ReadAll(oneName), (std::vector<ArticleFields>{{"", "", "Fünf Monitore", ""}}));
    EXPECT_EQ(oneName.UntakenColumns(), (QStringList{"Stichwort", "Autor"}));

    CsvReader english(Write("medline.csv",
                            "Title,Authors,Citation,Source,Journal/Book,Publication Year,DOI\n"
                            "\"Sleep, a review\",\"Doe J, Roe R\",\"Lancet. 2019;3:12-19\",MEDLINE,"
                            "Lancet,2019,10.1/x\n"
                            "Second,Poe E,,MEDLINE,BMJ,2020,\n"));
    EXPECT_EQ(ReadAll(english),
              (std::vector<ArticleFields>{{"2019", "Lancet", "Sleep, a review", ""},
                                          {"2020", "BMJ", "Second", ""}}));
    EXPECT_EQ(english.UntakenColumns(), (QStringList{"Authors", "Citation", "Source", "DOI"}));
}

TEST_F(CsvReaderTest, JoinsTheYearToTheIssueNumber) {
    CsvReader reader(Write("jahr.csv",
                           "Heft;Jahr;Titel;Zeitschrift\n"
                           "3;1996;Monitore;Datenkompass\n"
                           ";1997;Ohne Heft;Datenkompass\n"
                           "4/1998;1998;Schon mit Jahr;Datenkompass\n"
                           "5;;Ohne Jahr;Datenkompass\n"));
    EXPECT_EQ(ReadAll(reader),
              (std::vector<ArticleFields>{{"3/1996", "Datenkompass", "Monitore", ""},
                                          {"1997", "Datenkompass", "Ohne Heft", ""},
                                          {"4/1998", "Datenkompass", "Schon mit Jahr", ""},
                                          {"5", "Datenkompass", "Ohne Jahr", ""}}));
}

// A row of quoted empty cells is written for an empty record; the sheet's blank lines and the
// bare separators a spreadsheet writes for formatted empty rows at the end are no records.
TEST_F(CsvReaderTest, EmptyRecordsComeBackButBlankRowsDoNot) {
    CsvReader reader(Write("leer.csv",
                           "Zeitschriftennummer;Zeitschriftenname;Artikelname;Seite\r\n"
                           "\"\";\"\";\"\";\"\"\r\n"
                           "\r\n"
                           "1;a;b;2\r\n"
                           ";;;\r\n"
                           "3;c;d;4\r\n"
                           ";;;\r\n"
                           ";;;\r\n"
                           "\r\n"));
    EXPECT_EQ(ReadAll(reader),
              (std::vector<ArticleFields>{
                  {"", "", "", ""}, {"1", "a", "b", "2"}, {"", "", "", ""}, {"3", "c", "d", "4"}}));
}

TEST_F(CsvReaderTest, ReportsWhatItDetectedAndTakesSettingsInstead) {
    const QString path = Write("x.csv", "Titel;Autor;Seite\nEins;Maier;3\nZwei;Groß;4\n");
    CsvReader detected(path);
    ReadAll(detected);
    const ImportSettings found = detected.Settings();
    EXPECT_EQ(found.separator, ';');
    EXPECT_EQ(found.header, true);
    EXPECT_EQ(found.encoding, TextEncoding::Utf8);
    EXPECT_EQ(found.columns, (std::vector<ImportColumn>{{"Titel", ColumnTarget::Article, "Eins"},
                                                        {"Autor", ColumnTarget::None, "Maier"},
                                                        {"Seite", ColumnTarget::Page, "3"}}));

    // The author becomes the magazine, the page the issue; by heading and by number.
    ImportSettings chosen;
    chosen.columns = std::vector<ImportColumn>{{"autor", ColumnTarget::Magazine},
                                               {"3", ColumnTarget::Issue},
                                               {"Titel", ColumnTarget::Article}};
    CsvReader remapped(path, chosen);
    EXPECT_EQ(ReadAll(remapped),
              (std::vector<ArticleFields>{{"3", "Maier", "Eins", ""}, {"4", "Groß", "Zwei", ""}}));

    ImportSettings noHeading;
    noHeading.header = false;
    noHeading.separator = ',';
    CsvReader plain(path, noHeading);
    EXPECT_EQ(ReadAll(plain).front(), (ArticleFields{"Titel;Autor;Seite", "", "", ""}));

    // What the user chose is taken, even where UTF-8 would have been right.
    ImportSettings legacy;
    legacy.encoding = TextEncoding::Windows1252;
    CsvReader misread(Write("y.csv", "Titel\nGroß\n"), legacy);
    EXPECT_EQ(ReadAll(misread), (std::vector<ArticleFields>{{"", "", "GroÃŸ", ""}}));

    ImportSettings typo;
    typo.columns = std::vector<ImportColumn>{{"Titl", ColumnTarget::Article}};
    EXPECT_EQ(ReadError<CsvReader>(path, typo), "Eine Spalte „Titl“ gibt es in der Datei nicht.");
}

// Spreadsheets save "Unicode text" as UTF-16, mostly with, sometimes without byte-order mark.
TEST_F(CsvReaderTest, ReadsUtf16) {
    const QString text = QStringLiteral("Titel\tSeite\r\nÄpfel lagern\t12\r\n");
    const auto utf16 = [&](bool bigEndian, bool mark) {
        QStringEncoder encoder(
            bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
            mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
        return QByteArray(encoder(text));
    };
    for (const bool bigEndian : {false, true}) {
        for (const bool mark : {true, false}) {
            CsvReader reader(Write("unicode.csv", utf16(bigEndian, mark)));
            EXPECT_EQ(ReadAll(reader),
                      (std::vector<ArticleFields>{{"", "", "Äpfel lagern", "12"}}));
            EXPECT_EQ(reader.Settings().encoding,
                      bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE);
        }
    }
}

TEST_F(CsvReaderTest, EmptyFilesAndHeaderOnlyGiveNoRecords) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\xEF\xBB\xBF"),
                                    QByteArray("Zeitschriftennummer;Artikelname\r\n")}) {
        CsvReader reader(Write("leer.csv", bytes));
        EXPECT_TRUE(ReadAll(reader).empty());
    }
}

TEST_F(CsvReaderTest, BrokenFilesNameTheLine) {
    EXPECT_EQ(ReadError<CsvReader>(Write("q.csv", "a;b;c;d\n1;2;\"offen\n3;4\n")),
              "Zeile 2: Ein Anführungszeichen wird bis zum Ende der Datei nicht geschlossen.");
    EXPECT_TRUE(ReadError<CsvReader>(Write("s.csv", "a;b\n1;\"x\"y\n")).startsWith("Zeile 2: "));
    EXPECT_EQ(
        ReadError<CsvReader>(Write("bild.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16))),
        "Zeile 3: Die Datei „" + Path("bild.csv") + "“ ist keine Textdatei.");
    // UTF-8 first, then bytes that are none: a file mixed up by hand.
    EXPECT_TRUE(
        ReadError<CsvReader>(Write("m.csv", "Grün;x\nGr\xFCn;y\n")).startsWith("Zeile 2: "));
    EXPECT_TRUE(ReadError<CsvReader>(Path("fehlt.csv")).contains("kann nicht gelesen werden"));
    // Nobody writes into the pipe: reading it would wait for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.csv")).constData(), 0600), 0);
    EXPECT_TRUE(ReadError<CsvReader>(Path("pipe.csv")).contains("keine gewöhnliche Datei"));
    EXPECT_TRUE(ReadError<CsvReader>(Path(".")).contains("keine gewöhnliche Datei"));
}

TEST_F(CsvReaderTest, CopesWithHugeRowsAndFields) {
    QByteArray wide = "1;2;3;4";
    for (int i = 4; i < 100000; ++i) {
        wide += ";x";
    }
    CsvReader wideReader(Write("breit.csv", wide + "\n5;6;7;8\n"));
    EXPECT_EQ(ReadAll(wideReader),
              (std::vector<ArticleFields>{{"1", "2", "3", "4"}, {"5", "6", "7", "8"}}));

    const QByteArray big(10 << 20, 'a');
    CsvReader bigReader(Write("gross.csv", "1;\"" + big + "\";3;4\n"));
    const std::vector<ArticleFields> records = ReadAll(bigReader);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0][1].size(), big.size());
    EXPECT_EQ(records[0][2], "3");
}

}  // namespace
