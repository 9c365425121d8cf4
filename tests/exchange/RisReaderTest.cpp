#include <RisReader.h>

#include "ExchangeFiles.h"

namespace {

using RisReaderTest = ExchangeFiles;

// As reference managers export: CRLF, BOM, authors and other tags that carry nothing for a
// catalogue, an abstract over several lines, a book, a record without its issue.
const QByteArray kExport =
    "\xEF\xBB\xBFTY  - JOUR\r\n"
    "AU  - Maier, Anna\r\n"
    "AU  - Groß, Bernd\r\n"
    "TI  - Netze für alle\r\n"
    "T2  - Datenkompass\r\n"
    "J2  - Datenk.\r\n"
    "PY  - 1996/03/01/\r\n"
    "IS  - 3\r\n"
    "SP  - 30\r\n"
    "EP  - 34\r\n"
    "AB  - Erste Zeile\r\n"
    "zweite Zeile\r\n"
    "M3  - 10.1000/xyz\r\n"
    "ER  - \r\n"
    "\r\n"
    "TY  - MGZN\r\n"
    "T1  - Ein Titel, der über\r\n"
    "zwei Zeilen geht\r\n"
    "JO  - Beet & Laube\r\n"
    "Y1  - 1995\r\n"
    "ER  -\r\n"
    "TY  - BOOK\r\n"
    "TI  - Das Gartenjahr\r\n"
    "T2  - Reihe Grün\r\n"
    "SP  - 5\r\n"
    "ER  - \r\n"
    "TY  - NEWS\r\n"
    "TI  - Kurzmeldung\r\n"
    "JF  - Tagblatt\r\n"
    "IS  - 12\r\n"
    "ER  - \r\n";

TEST_F(RisReaderTest, MapsArticlesToTheFourFieldsAndKeepsTheTitleOfOtherEntries) {
    RisReader reader(Write("export.ris", kExport));
    EXPECT_EQ(ReadAll(reader),
              (std::vector<ArticleFields>{
                  {"3/1996", "Datenkompass", "Netze für alle", "30"},
                  {"1995", "Beet & Laube", "Ein Titel, der über\nzwei Zeilen geht", ""},
                  {"", "", "Das Gartenjahr", ""},
                  {"12", "Tagblatt", "Kurzmeldung", ""}}));
}

// What literature databases and reference managers write around and inside their entries.
TEST_F(RisReaderTest, ReadsTheDialectsOfOtherPrograms) {
    RisReader numbered(Write("nummeriert.ris",
                             "Record #1 of 2\n"
                             "Provider: Anbieter\n"
                             "Content: text/plain; charset=\"UTF-8\"\n"
                             "1.\n"
                             "TY  - JOUR\n"
                             "T1  - Erster\n"
                             "JF  - Lorem\n"
                             "Y1  - 2014//\n"
                             "IS  - 3\n"
                             "SP  - e0815\n"
                             "ER  - \n"
                             "\n"
                             "Record #2 of 2\n"
                             "Provider: Anbieter\n"
                             "2.\n"
                             "TY  - Journal Article\n"
                             "ST  - Nur Kurztitel\n"
                             "JO  - J. Chem. Phys.\n"
                             "JF  - The Journal of Chemical Physics\n"
                             "VL  - 139\n"
                             "PY  - 2013\n"
                             "C7  - 044504\n"
                             "ER  - \n"
                             "DB  - Datenbank\n"
                             "N1  - nach dem Ende\n"
                             "TY  - JOUR\n"
                             "ER  - \n"));
    EXPECT_EQ(ReadAll(numbered),
              (std::vector<ArticleFields>{{"3/2014", "Lorem", "Erster", "e0815"},
                                          {"2013", "J. Chem. Phys.", "Nur Kurztitel", "044504"},
                                          {"", "", "", ""}}));
    EXPECT_EQ(numbered.UntakenColumns(), QStringList{"VL"});

    // The volume stands for the issue only when the user says so; a tag sent nowhere is left
    // out, the others keep their places.
    ImportSettings volumeAsIssue;
    volumeAsIssue.columns =
        std::vector<ImportColumn>{{"VL", ColumnTarget::Issue}, {"JO", ColumnTarget::None}};
    RisReader asked(Path("nummeriert.ris"), volumeAsIssue);
    EXPECT_EQ(ReadAll(asked),
              (std::vector<ArticleFields>{
                  {"3/2014", "Lorem", "Erster", "e0815"},
                  {"139/2013", "The Journal of Chemical Physics", "Nur Kurztitel", "044504"},
                  {"", "", "", ""}}));
}

// Texts written by earlier versions marked continuation lines with a zero-width space, which
// other programs showed inside their titles; it is still taken off.
TEST_F(RisReaderTest, ContinuationLinesCarryNoVisibleMark) {
    RisReader earlier(
        Write("alt.ris", "TY  - MGZN\nTI  - Eins\n\u200B\nzwei\n\u200BAB  - drei\nER  - \n"));
    EXPECT_EQ(ReadAll(earlier),
              (std::vector<ArticleFields>{{"", "", "Eins\n\nzwei\nAB  - drei", ""}}));
}

TEST_F(RisReaderTest, BrokenFilesNameTheLine) {
    EXPECT_EQ(ReadError<RisReader>(Write("a.ris", "TY  - JOUR\nTI  - x\nTY  - JOUR\nER  - \n")),
              "Zeile 3: Der Eintrag ab Zeile 1 endet nicht mit „ER  - “.");
    EXPECT_TRUE(ReadError<RisReader>(Write("b.ris", "\nTY  - JOUR\nTI  - abgeschnitten"))
                    .startsWith("Zeile 3: Der Eintrag ab Zeile 2 endet nicht"));
    EXPECT_TRUE(ReadError<RisReader>(Write("c.ris", "Titel;Seite\nx;1\n")).startsWith("Zeile 1: "));
    EXPECT_TRUE(ReadError<RisReader>(Write("d.ris", "TI  - ohne Typ\nER  - \n"))
                    .startsWith("Zeile 1: Vor dem Tag „TI“"));
    RisReader empty(Write("e.ris", "\r\n\r\n"));
    EXPECT_TRUE(ReadAll(empty).empty());
}

}  // namespace
