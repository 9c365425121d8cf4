#include <BibTexReader.h>
#include <BibTexWriter.h>
#include <TexText.h>

#include "ExchangeFiles.h"

namespace {

using BibTexTest = ExchangeFiles;

// Every brace opened in an entry is closed within it, counted as classic BibTeX and bibtool
// count them: a backslash before a brace changes nothing.
bool BracesBalance(const QByteArray& bib) {
    int depth = 0;
    for (const char c : bib) {
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

TEST_F(BibTexTest, LoneBracesAndOtherTexTextsKeepEveryReaderInStep) {
    const std::vector<ArticleFields> texts{
        {"1/2001", "{c't}", "Der Ausdruck } schließt, { öffnet", "3"},
        {"2/2001", "Magazin", "nur {", "4"},
        {"3/2001", "Magazin", "C:\\Programme\\ & 100% $ #1 _x_ ~ ^ -- @", "5"},
    };
    const QByteArray bib = Written<BibTexWriter>(texts);
    EXPECT_TRUE(BracesBalance(bib)) << bib.toStdString();
    EXPECT_FALSE(bib.contains("\\{")) << bib.toStdString();
    BibTexReader reader(Write("klammern.bib", bib));
    EXPECT_EQ(ReadAll(reader), texts);
}

TEST_F(BibTexTest, WritesPageRangesAndLineBreaksAsBibTexHasThem) {
    const QString bib = QString::fromUtf8(Written<BibTexWriter>({
        {"12/2001", "{c't}", "Zeile eins\nZeile zwei\r\nZeile drei\rZeile vier", "7-9"},
        {"1/2020", "Emoji 😀 Welt", "ß äöü ÄÖÜ – „Anführung“", "12 – 14"},
        {"", "", "", "ii"},
        {"", "", "", ""},
    }));
    EXPECT_EQ(
        bib,
        "@article{ct:1,\n"
        "  title = {{Zeile eins\nZeile zwei\nZeile drei\nZeile vier}},\n"
        "  journal = {{\\textbraceleft}c't{\\textbraceright}},\n"
        "  number = {12},\n"
        "  year = {2001},\n"
        "  pages = {7--9}\n"
        "}\n\n"
        "@article{emojiwelt:2,\n"
        "  title = {{{\\ss} {\\\"a}{\\\"o}{\\\"u} {\\\"A}{\\\"O}{\\\"U} – „Anf{\\\"u}hrung“}},\n"
        "  journal = {Emoji 😀 Welt},\n"
        "  number = {1},\n"
        "  year = {2020},\n"
        "  pages = {12--14}\n"
        "}\n\n"
        "@article{artikel:3,\n"
        "  pages = {ii}\n"
        "}\n\n"
        "@article{artikel:4,\n"
        "  title = {}\n"
        "}\n\n");
}

// As reference managers write it: abbreviations, comments, protected capitals, TeX accents in
// all their spellings, page ranges, month names, the types besides @article.
TEST_F(BibTexTest, ReadsWhatReferenceManagersWrite) {
    BibTexReader reader(
        Write("literatur.bib",
              "% Exportiert\n"
              "@comment{jabref-meta: databaseType:bibtex;}\n"
              "@preamble{\"\\newcommand{\\noop}[1]{}\"}\n"
              "@string{dk = \"Daten{\\-}kompass\"}\n"
              "@Article{maier1996,\n"
              "  author = {Maier, Anna and Gro{\\ss}, Bernd},\n"
              "  title = {{Netze} f{\\\"u}r alle: {\\`A} la {C}arte \\& mehr},\n"
              "  journal = dk # { Extra},\n"
              "  year = 1996, month = mar,\n"
              "  number = {3},\n"
              "  pages = {30--34},\n"
              "}\n"
              "\n"
              "@inproceedings(ward1997,\n"
              "  title = \"Stra\\ss{}en und {\\\"U}bergänge -- ein \\emph{Überblick}\",\n"
              "  booktitle = {Tagung {\\'e}t{\\'e} \\c{c}a},\n"
              "  issue = {7}, date = {1997-05-01},\n"
              "  pages = {e1234}\n"
              ")\n"
              "Text zwischen Einträgen, etwa eine Adresse: name@example.org.\n"
              "@book{ohne, title = {{\\LaTeX} f\\\"{u}r {\\O}sterreich ``zitiert''}}\n"));
    EXPECT_EQ(ReadAll(reader),
              (std::vector<ArticleFields>{
                  {"3/1996", "Datenkompass Extra", "Netze für alle: À la Carte & mehr", "30"},
                  {"7/1997", "Tagung été ça", "Straßen und Übergänge – ein Überblick", "e1234"},
                  {"", "", "LaTeX für Østerreich “zitiert”", ""}}));
    EXPECT_EQ(reader.UntakenColumns(), (QStringList{"author", "month"}));
}

TEST_F(BibTexTest, BrokenEntriesNameTheLine) {
    EXPECT_EQ(ReadError<BibTexReader>(Write("a.bib",
                                            "@article{a, title={x}}\n\n@article{b,\n"
                                            "  title = {offen,\n  year = 1996\n}\n")),
              "Zeile 3: Der Eintrag, der hier beginnt, wird bis zum Ende der Datei nicht "
              "geschlossen; eine Klammer fehlt.");
    EXPECT_EQ(ReadError<BibTexReader>(Write("b.bib", "\n@article{a, title = {x} year = 1}\n")),
              "Zeile 2: Der BibTeX-Eintrag, der hier beginnt, ist fehlerhaft.");
    BibTexReader empty(Write("c.bib", "% nichts\n"));
    EXPECT_TRUE(ReadAll(empty).empty());
}

TEST(TexTextTest, GivesTheTextAReaderSees) {
    const std::vector<std::pair<QString, QString>> cases{
        {"{\\\"a}{\\\"o}{\\\"u}{\\ss}", "äöüß"},
        {"\\\"{A}\\\"O\\\"{\\i}", "ÄÖï"},
        {"\\'e\\`e\\^e\\~n\\=a\\.z\\u{g}\\v{s}\\H{o}\\c{c}\\k{a}\\r{a}", "éèêñāżğšőçąå"},
        {"\\aa\\ \\AE{}\\o{} \\l", "å Æø ł"},
        {"\\& \\% \\$ \\# \\_ \\{ \\}", "& % $ # _ { }"},
        {"{\\textbraceleft}x{\\textbraceright} {\\textbackslash}", "{x} \\"},
        {"a--b---c-d", "a–b—c-d"},
        {"``Zitat'' und \\glqq deutsch\\grqq{}", "“Zitat” und „deutsch“"},
        {"10~km $\\alpha$ {\\em betont} \\textbf{fett}", "10 km alpha betont fett"},
        {"  Leer   zeichen \n weg ", "Leer zeichen weg"},
    };
    for (const auto& [tex, text] : cases) {
        EXPECT_EQ(TexText::ToUnicode(tex), text) << tex.toStdString();
    }
    EXPECT_EQ(BibTexReader::FirstPage("123--145"), "123");
    EXPECT_EQ(BibTexReader::FirstPage("123–145"), "123");
    EXPECT_EQ(BibTexReader::FirstPage("e1234"), "e1234");
}

}  // namespace
