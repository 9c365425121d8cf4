#include <FileDialogSize.h>

#include <QFileDialog>
#include <QHeaderView>
#include <QSettings>
#include <QTest>
#include <QTreeView>

#include "support/ProgramTest.h"

namespace {

class FileDialogSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApplication();
        QSettings().remove("File Dialog");
    }
    void TearDown() override { QSettings().remove("File Dialog"); }

    static std::unique_ptr<QFileDialog> MakeDialog(const QString& folder) {
        auto dialog = std::make_unique<QFileDialog>(nullptr, "Öffnen", folder, "Katalog (*.plx)");
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setViewMode(QFileDialog::Detail);
        return dialog;
    }
};

TEST_F(FileDialogSizeTest, EveryColumnReadsAndTheUsersSizeIsKept) {
    QTemporaryDir folder;
    auto dialog = MakeDialog(folder.path());
    FileDialogSize::Restore(*dialog);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    auto* view = dialog->findChild<QTreeView*>("treeView");
    ASSERT_NE(view, nullptr);
    QHeaderView* header = view->header();
    EXPECT_LE(header->length(), view->viewport()->width()) << "the last column is cut off";
    for (int i = 0; i < header->count(); ++i) {
        EXPECT_GE(header->sectionSize(i), header->sectionSizeHint(i))
            << header->model()->headerData(i, Qt::Horizontal).toString().toStdString();
    }

    dialog->resize(dialog->width() + 57, dialog->height() + 31);
    const QSize chosen = dialog->size();
    FileDialogSize::Remember(*dialog);
    dialog.reset();
    auto again = MakeDialog(folder.path());
    FileDialogSize::Restore(*again);
    EXPECT_EQ(again->size(), chosen);
}

}  // namespace
