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
