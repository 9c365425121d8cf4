#include <ModalSeam.h>

#include <QDir>
#include <QFile>

#include "app/CMainFrame.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

const StoredRecord kBlankRecord{" ", " ", " ", " "};

class NewCatalogueTest : public ProgramTest {
protected:
    void Create(const QString& typedName) {
        ModalSeam::Push({IDOK, typedName, {}});
        RunCommand(ID_FILE_NEW);
    }
};

TEST_F(NewCatalogueTest, CopiesTheTemplateAndAddsTheExtension) {
    ASSERT_TRUE(Start());
    Create(TempPath("Zeitschriften 1998"));
    const QString path = TempPath("Zeitschriften 1998.plx");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(StoredRecords(path), std::vector<StoredRecord>{kBlankRecord});
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetTitle(), "Zeitschriften 1998.plx");
    EXPECT_TRUE(Documents().front()->GetPathName().isEmpty());
    EXPECT_FALSE(App()->GetRecentFiles().contains(path));
    EXPECT_EQ(Caption(), "Datensatz 1 von 1");
    EXPECT_EQ(FormTexts(), kBlankRecord);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Neue Datenbank erstellen");
}

TEST_F(NewCatalogueTest, ReplacesAnExistingFileTheUserConfirmed) {
    const QString path = CopyOfExample("alt.plx");
    ASSERT_TRUE(Start());
    Create(path);
    EXPECT_EQ(StoredRecords(path), std::vector<StoredRecord>{kBlankRecord});
}

TEST_F(NewCatalogueTest, CancelLeavesNothing) {
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDCANCEL, {}, {}});
    RunCommand(ID_FILE_NEW);
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(MainFrame()->GetChildFrames().empty());
    EXPECT_TRUE(QDir(TempPath("")).entryList(QDir::Files).isEmpty());
}

TEST_F(NewCatalogueTest, UnwritableTargetIsReportedWithItsPath) {
    ASSERT_TRUE(Start());
    const QString path = TempPath("gibt es nicht/neu.plx");
    ModalSeam::Push({IDOK, path, {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_NEW);
    ASSERT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_TRUE(ModalSeam::Requests()[1].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(MainFrame()->GetChildFrames().empty());
}

TEST_F(NewCatalogueTest, MissingTemplateIsReported) {
    QTemporaryDir emptySystemDir;
    ASSERT_TRUE(Start());
    const QByteArray saved = qgetenv("PERIOLEX_SYSTEM_DIR");
    qputenv("PERIOLEX_SYSTEM_DIR", emptySystemDir.path().toUtf8());
    ModalSeam::Push({IDOK, TempPath("neu"), {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_NEW);
    qputenv("PERIOLEX_SYSTEM_DIR", saved);
    ASSERT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_TRUE(ModalSeam::Requests()[1].text.contains("file.dat"));
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(QFile::exists(TempPath("neu.plx")));
}

TEST_F(NewCatalogueTest, PathsOfAnyLengthWork) {
    QString folder = TempPath("");
    for (int i = 0; i < 12; ++i) {
        folder += QStringLiteral("/Verzeichnis mit langem Namen Nummer %1").arg(i);
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_GT(folder.size(), 300);
    ASSERT_TRUE(Start());
    Create(folder + "/Katalog");
    EXPECT_TRUE(QFile::exists(folder + "/Katalog.plx"));
    EXPECT_EQ(Documents().size(), 1u);
}

}  // namespace
