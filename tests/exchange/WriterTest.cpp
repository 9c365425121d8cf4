#include <CsvReader.h>
#include <CsvWriter.h>
#include <IssueNumber.h>
#include <RisReader.h>
#include <RisWriter.h>

#include "ExchangeFiles.h"

namespace {

using WriterTest = ExchangeFiles;

// Texts that break careless writers: quotes, separators, line breaks, braces, backslashes,
// tag-like text, umlauts and emoji; and records without any text, at the end too.
const std::vector<ArticleFields> kHostile{
    {"3/1996", "Datenkompass", "Fünf \"17-Zoll\"; Monitore, billig", "18"},
    {"", "", "", ""},
    {"12/2001", "{c't}", "C:\\Programme\\ & 100% $ #1 _x_ ~ ^", "7-9"},
    {"Sonderheft", "Beet & Laube", "Zeile eins\nZeile zwei\r\nZeile drei", " "},
    {"1/2020", "Emoji 😀 Welt", "ß äöü ÄÖÜ – „Anführung“", "ii"},
    {"", "", "nur ein Titel", ""},
    {"\n", "a\n\nb\n", "x\nAB  - weiter\nER  -\n\u200Bstill", "\r\n\r"},
    {"", "", "", ""},
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

// An export hands the catalogue's bytes over as they are. They must come out as their texts
// would, buffer after buffer: valid UTF-8 unchanged, anything else as the replacement character.
TEST_F(WriterTest, CsvOfACataloguesBytesIsCsvOfItsTexts) {
    const std::vector<std::string> pieces = {"Grün \"x\";y",
                                             "K\xE4se",
                                             "\xEF\xBB\xBF"
                                             "BOM",
                                             "\xED\xA0\x80 \xC0\xAF \xF4\x90\x80\x80",
                                             "😀\r\n–",
                                             "",
                                             std::string(70000, '"')};
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    CsvWriter writer(bytes);
    std::vector<ArticleFields> texts;
    for (std::size_t n = 0; n < 300; ++n) {
        ArticleBytes record;
        ArticleFields& decoded = texts.emplace_back();
        for (std::size_t i = 0; i < record.size(); ++i) {
            record[i] = pieces[(n * 5 + i * 3) % pieces.size()];
            decoded[i] =
                QString::fromUtf8(record[i].data(), static_cast<qsizetype>(record[i].size()));
        }
        writer.WriteUtf8(record);
    }
    writer.Finish();
    EXPECT_GT(bytes.size(), 4 << 20) << "several buffers full";
    EXPECT_EQ(bytes.data(), Written<CsvWriter>(texts));
    CsvReader csv(Write("bytes.csv", bytes.data()));
    EXPECT_EQ(ReadAll(csv), texts);
}

// Other readers take a line without a tag for more of the value above; a line that looks like
// a tag, or is blank, is written behind a space that they trim away.
TEST_F(WriterTest, RisContinuationLinesShowNothingExtraInOtherPrograms) {
    const QByteArray ris = Written<RisWriter>({{"", "", "eins\nAB  - zwei\n\ndrei\n ", ""}});
    EXPECT_EQ(ris, "TY  - MGZN\r\nTI  - eins\r\n AB  - zwei\r\n \r\ndrei\r\n  \r\nER  - \r\n\r\n");
    EXPECT_FALSE(QString::fromUtf8(Written<RisWriter>({{"\n", "a\n\nb", "TY  - x\n\u00A0", ""}}))
                     .contains(QChar(0x200B)));
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
