#include <ImportPreview.h>

#include "ExchangeFiles.h"

namespace {

using ImportPreviewTest = ExchangeFiles;

// What the preview shows is what the import takes, and a choice that cannot be read says why
// instead of failing.
TEST_F(ImportPreviewTest, ShowsTheFirstRecordsWithWhatWasDetected) {
    const QString path =
        Write("liste.csv", "Heft;Jahr;Titel\n3;1996;Eins\n4;1996;Zwei\n5;1997;Drei\n");
    const ImportPreview detected = ImportPreview::Of(path, {}, 2);
    EXPECT_EQ(detected.format, ExchangeFormat::Csv);
    EXPECT_TRUE(detected.error.isEmpty());
    EXPECT_EQ(detected.records,
              (std::vector<ArticleFields>{{"3/1996", "", "Eins", ""}, {"4/1996", "", "Zwei", ""}}));
    EXPECT_EQ(detected.settings.columns->at(1), (ImportColumn{"Jahr", ColumnTarget::Year, "1996"}));

    ImportSettings noHeading;
    noHeading.header = false;
    EXPECT_EQ(ImportPreview::Of(path, noHeading, 1).records.front(),
              (ArticleFields{"Heft", "Jahr", "Titel", ""}));

    ImportSettings unknown;
    unknown.columns = std::vector<ImportColumn>{{"Autor", ColumnTarget::Article}};
    const ImportPreview failed = ImportPreview::Of(path, unknown, 2);
    EXPECT_EQ(failed.error, "Eine Spalte „Autor“ gibt es in der Datei nicht.");
    EXPECT_TRUE(failed.records.empty());
}

}  // namespace
