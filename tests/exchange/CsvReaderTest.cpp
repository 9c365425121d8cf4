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

    // Records whose texts happen to be column names are still records.
    for (const ArticleFields& first : {ArticleFields{"3/1996", "Magazin", "Editorial", "3"},
                                       ArticleFields{"5/1997", "Journal", "Titel", "8"},
                                       ArticleFields{"", "Journal", "Title", ""}}) {
        CsvReader namesAsData(
            Write("d.csv",
                  (QStringList(first.begin(), first.end()).join(QLatin1Char(';')) + "\n1;2;3;4\n")
                      .toUtf8()));
        EXPECT_EQ(ReadAll(namesAsData), (std::vector<ArticleFields>{first, {"1", "2", "3", "4"}}));
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
