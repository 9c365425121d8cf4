#include <ModalSeam.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "document/ImportPreviewDialog.h"
#include "support/ProgramTest.h"

namespace {

// The preview built for real and driven with keys, as a user meets it.
class ImportPreviewDialogTest : public ProgramTest {
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        const QString path = TempPath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static void ShowActive(QDialog* dialog) {
        dialog->show();
        QApplication::setActiveWindow(dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    static QString Cell(QDialog* dialog, int row, int column) {
        const QTableWidgetItem* item = dialog->findChild<QTableWidget*>()->item(row, column);
        return item ? item->text() : QString();
    }
};

const QByteArray kSpreadsheet =
    "Heft;Titel;Autor\r\n3/1996;Fünf Monitore, getestet;Maier\r\n4/1996;Drucker;Groß\r\n";

TEST_F(ImportPreviewDialogTest, EnterTakesWhatWasDetectedAndEscapeCancels) {
    ASSERT_TRUE(Start());
    const QString csv = WriteFile("liste.csv", kSpreadsheet);
    ImportPreviewDialog preview(csv);
    QDialog* dialog = preview.Dialog();
    ShowActive(dialog);
    auto* import = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->text(), "&Importieren");
    EXPECT_TRUE(import->isDefault());
    EXPECT_EQ(Cell(dialog, 0, 2), "Fünf Monitore, getestet");
    EXPECT_EQ(Cell(dialog, 1, 0), "4/1996");
    EXPECT_TRUE(dialog->findChild<QCheckBox*>()->isChecked());
    QTest::keyClick(dialog, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(preview.Settings(), ImportSettings{});

    ImportPreviewDialog again(csv);
    ShowActive(again.Dialog());
    QTest::keyClick(again.Dialog(), Qt::Key_Escape);
    EXPECT_EQ(again.Dialog()->result(), QDialog::Rejected);
}

// Every control is reached by its own letter, and the preview follows what is changed there.
TEST_F(ImportPreviewDialogTest, KeysReachEveryChoiceAndThePreviewFollows) {
    ASSERT_TRUE(Start());
    ImportPreviewDialog preview(WriteFile("liste.csv", kSpreadsheet));
    QDialog* dialog = preview.Dialog();
    ShowActive(dialog);

    QList<QChar> letters;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->buddy() && label->text().contains('&') && label->isVisible()) {
            letters << label->text()[label->text().indexOf('&') + 1].toLower();
        }
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().contains('&')) {
            letters << button->text()[button->text().indexOf('&') + 1].toLower();
        }
    }
    EXPECT_EQ(QSet<QChar>(letters.begin(), letters.end()).size(), letters.size())
        << QStringList(letters.begin(), letters.end()).join(',').toStdString();

    // The first column's field: the author becomes the article's name.
    QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
    auto* firstColumn = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(firstColumn, nullptr);
    EXPECT_EQ(firstColumn->accessibleName(), "Heft");
    QTest::keyClick(dialog, Qt::Key_Tab);
    QTest::keyClick(dialog, Qt::Key_Tab);
    auto* author = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(author, nullptr);
    EXPECT_EQ(author->accessibleName(), "Autor");
    author->setCurrentText("Zeitschriftenname");
    EXPECT_EQ(Cell(dialog, 1, 1), "Groß");
    EXPECT_EQ(preview.Settings().columns->at(2), (ImportColumn{"Autor", ColumnTarget::Magazine}));

    QTest::keyClick(dialog, Qt::Key_T, Qt::AltModifier);
    auto* separator = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_NE(separator, nullptr);
    QTest::keyClick(separator, Qt::Key_Down);
    EXPECT_EQ(preview.Settings().separator, ',');
    EXPECT_EQ(Cell(dialog, 0, 0), "Heft;Titel;Autor");

    QTest::keyClick(dialog, Qt::Key_T, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(Cell(dialog, 0, 2), "Fünf Monitore, getestet");

    // The columns were laid out anew; their letter reaches them once they show.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto combos = dialog->findChildren<QComboBox*>();
        return std::all_of(combos.begin(), combos.end(),
                           [](QComboBox* c) { return c->isVisible(); });
    }));
    QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Heft");
}

}  // namespace
