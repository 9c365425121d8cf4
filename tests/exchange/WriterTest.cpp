#include <BibTexWriter.h>
#include <CsvReader.h>
#include <CsvWriter.h>
#include <IssueNumber.h>
#include <RisReader.h>
#include <RisWriter.h>

#include <QBuffer>

#include "ExchangeFiles.h"

namespace {

using WriterTest = ExchangeFiles;

template <typename Writer>
QByteArray Written(const std::vector<ArticleFields>& records) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Writer writer(buffer);
    for (const ArticleFields& record : records) {
        writer.Write(record);
    }
    writer.Finish();
    return buffer.data();
}

// Texts that break careless writers: quotes, separators, line breaks, braces, backslashes,
// tag-like text, umlauts and emoji.
const std::vector<ArticleFields> kHostile{
    {"3/1996", "Datenkompass", "Fünf \"17-Zoll\"; Monitore, billig", "18"},
    {"12/2001", "{c't}", "C:\\Programme\\ & 100% $ #1 _x_ ~ ^", "7-9"},
    {"Sonderheft", "Beet & Laube", "Zeile eins\nZeile zwei\r\nZeile drei", " "},
    {"1/2020", "Emoji 😀 Welt", "ß äöü ÄÖÜ – „Anführung“", "ii"},
    {"", "", "nur ein Titel", ""},
    {"\n", "a\n\nb\n", "x\nAB  - weiter\nER  -\n\u200Bstill", "\r\n\r"},
};

TEST_F(WriterTest, CsvAndRisGiveBackWhatWasWritten) {
    CsvReader csv(Write("rund.csv", Written<CsvWriter>(kHostile)));
    EXPECT_EQ(ReadAll(csv), kHostile);
    RisReader ris(Write("rund.ris", Written<RisWriter>(kHostile)));
    EXPECT_EQ(ReadAll(ris), kHostile);
}

TEST_F(WriterTest, CsvOpensInGermanSpreadsheets) {
    const QByteArray csv = Written<CsvWriter>({{"3/1996", "Grün", "a\"b", "5"}});
    EXPECT_EQ(csv,
              "\xEF\xBB\xBF\"Zeitschriftennummer\";\"Zeitschriftenname\";\"Artikelname\";"
              "\"Seite\"\r\n\"3/1996\";\"Grün\";\"a\"\"b\";\"5\"\r\n");
}

TEST_F(WriterTest, BibTexEscapesEverythingThatWouldBreakIt) {
    const QByteArray bib = Written<BibTexWriter>({kHostile[1], kHostile[1], kHostile[3]});
    EXPECT_EQ(
        QString::fromUtf8(bib),
        "@article{ct:1,\n"
        "  title = {{C:\\textbackslash{}Programme\\textbackslash{} \\& 100\\% \\$ \\#1 \\_x\\_ "
        "\\textasciitilde{} \\textasciicircum{}}},\n"
        "  journal = {\\{c't\\}},\n"
        "  number = {12},\n"
        "  year = {2001},\n"
        "  pages = {7-9},\n"
        "}\n\n"
        "@article{ct:2,\n"
        "  title = {{C:\\textbackslash{}Programme\\textbackslash{} \\& 100\\% \\$ \\#1 \\_x\\_ "
        "\\textasciitilde{} \\textasciicircum{}}},\n"
        "  journal = {\\{c't\\}},\n"
        "  number = {12},\n"
        "  year = {2001},\n"
        "  pages = {7-9},\n"
        "}\n\n"
        "@article{emojiwelt:3,\n"
        "  title = {{{\\ss} {\\\"a}{\\\"o}{\\\"u} {\\\"A}{\\\"O}{\\\"U} – „Anf{\\\"u}hrung“}},\n"
        "  journal = {Emoji 😀 Welt},\n"
        "  number = {1},\n"
        "  year = {2020},\n"
        "  pages = {ii},\n"
        "}\n\n");
    EXPECT_EQ(BibTexWriter::Escaped("a\nb\r\nc"), "a b c");
}

TEST_F(WriterTest, IssueNumbersSplitAndJoinBack) {
    for (const QString number : {"3/1996", "12", "1996", "3/96", "Heft 2/3/2001", "/1996", ""}) {
        const IssueNumber split = IssueNumber::Split(number);
        EXPECT_EQ(IssueNumber::Join(split.issue, split.year), number);
    }
    EXPECT_EQ(IssueNumber::Split("Heft 2/3/2001").year, "2001");
    EXPECT_TRUE(IssueNumber::Split("3/96").year.isEmpty());
}

}  // namespace
