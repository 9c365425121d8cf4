#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <sqlite3.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/CPeriolexView.h"

namespace {

void Execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_close(db);
}

class RecordFormTest : public ProgramTest {
protected:
    QString ThreeRecords() {
        const QString path = GeneratedCatalogue(0, "drei.plx");
        Execute(path,
                "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, "
                "Seite) "
                "VALUES ('1/1997', 'Gartenfreund', 'Rosen schneiden', '12'),"
                "       ('2/1997', 'Gartenfreund', 'Kübelpflanzen überwintern', '30'),"
                "       ('3/1997', 'Gartenfreund', 'Teich anlegen', '8')");
        return path;
    }
};

TEST_F(RecordFormTest, ShowsTheFirstRecordWithMagazineNameSecondAndArticleThird) {
    ASSERT_TRUE(Start({ThreeRecords()}));
    EXPECT_EQ(Caption(), "Datensatz 1 von 3");
    EXPECT_EQ(FormTexts(), StoredRecord({"1/1997", "Gartenfreund", "Rosen schneiden", "12"}));
    EXPECT_EQ(ActiveView()->m_Anzahl, "3");
}

TEST_F(RecordFormTest, TypedTextIsStoredWhenTheWindowCloses) {
    const QString path = ThreeRecords();
    ASSERT_TRUE(Start({path}));
    TypeInto(IDC_ARTIKELNAME, "Rosen richtig schneiden");
    MainFrame()->GetChildFrames().front()->OnClose();
    ProcessEvents();
    EXPECT_EQ(StoredRecords(path)[0][2], "Rosen richtig schneiden");
    EXPECT_EQ(StoredRecords(path)[1][2], "Kübelpflanzen überwintern");
}

TEST_F(RecordFormTest, TypedTextIsStoredWhenTheCatalogueOrTheProgramCloses) {
    const QString path = ThreeRecords();
    ASSERT_TRUE(Start({path}));
    TypeInto(IDC_SEITE, "13");
    RunCommand(ID_FILE_CLOSE);
    EXPECT_EQ(StoredRecords(path)[0][3], "13");

    ASSERT_TRUE(App()->OpenDocumentFile(path));
    TypeInto(IDC_ZEITSCHRIFTENNAME, "Gartenfreund extra");
    Stop();
    EXPECT_EQ(StoredRecords(path)[0],
              StoredRecord({"1/1997", "Gartenfreund extra", "Rosen schneiden", "13"}));
}

TEST_F(RecordFormTest, AnUnchangedFormWritesNothing) {
    const QString path = CopyOfExample();
    const QByteArray before = FileBytes(path);
    ASSERT_TRUE(Start({path}));
    ActiveView()->SaveRecord();
    Stop();
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(RecordFormTest, InputStopsAtThirtyCharacters) {
    ASSERT_TRUE(Start({ThreeRecords()}));
    QLineEdit* field = Field(IDC_ARTIKELNAME);
    field->clear();
    QTest::keyClicks(field, QString(35, QLatin1Char('x')));
    EXPECT_EQ(field->text().size(), 30);
    // Typing into a full field changes nothing, wherever the cursor stands.
    field->setCursorPosition(10);
    QTest::keyClicks(field, "ab");
    EXPECT_EQ(field->text(), QString(30, QLatin1Char('x')));
}

TEST_F(RecordFormTest, PastingTooMuchPastesTheFirstCharactersThatFit) {
    ASSERT_TRUE(Start({ThreeRecords()}));
    QLineEdit* name = Field(IDC_ZEITSCHRIFTENNAME);
    name->setFocus();
    name->selectAll();
    QApplication::clipboard()->setText("Mitteilungen des Gartenbauvereins 1997");  // 38
    RunCommand(ID_EDIT_PASTE);
    EXPECT_EQ(name->text(), "Mitteilungen des Gartenbauvere");
    EXPECT_EQ(name->cursorPosition(), 30);

    // Into the middle of a text: what stood after the cursor stays, the paste is cut.
    QLineEdit* article = Field(IDC_ARTIKELNAME);
    article->setFocus();
    article->setText("Rosen schneiden");  // 15
    article->setCursorPosition(6);
    QApplication::clipboard()->setText("im Herbst richtig und bald ");  // 27
    RunCommand(ID_EDIT_PASTE);
    EXPECT_EQ(article->text(), "Rosen im Herbst richtschneiden");
    EXPECT_EQ(article->cursorPosition(), 21);
}

TEST_F(RecordFormTest, LongAndNullFieldsFromTheFileSurviveShowingAndSaving) {
    const QString path = ThreeRecords();
    const QString longName = QStringLiteral("Ein sehr langer Artikelname über dreißig Zeichen");
    Execute(path, ("UPDATE Zeitschriften SET Artikelname = '" + longName.toStdString() +
                   "', Seite = NULL WHERE ID = 1")
                      .c_str());
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), longName);
    EXPECT_EQ(Field(IDC_SEITE)->text(), "");
    TypeInto(IDC_ZEITSCHRIFTENNUMMER, "1a/1997");
    QTest::keyClicks(Field(IDC_ARTIKELNAME), "zzz");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), longName) << "a long text must not grow";
    Stop();
    EXPECT_TRUE(ModalSeam::Requests().empty()) << "a long stored text is no input error";
    EXPECT_EQ(StoredRecords(path)[0],
              StoredRecord({"1a/1997", "Gartenfreund", longName, "<null>"}));
}

// The first row, from the top, in which the area holds dark (text) pixels; -1 if none.
int InkTop(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return y;
            }
        }
    }
    return -1;
}

TEST_F(RecordFormTest, EachLabelStandsOnTheLineOfItsFieldsTextAndNamesIt) {
    ASSERT_TRUE(Start({ThreeRecords()}));
    const std::pair<const char*, unsigned> rows[] = {
        {"Zeitschriftennummer:", IDC_ZEITSCHRIFTENNUMMER},
        {"Zeitschriftenname:", IDC_ZEITSCHRIFTENNAME},
        {"Artikelname:", IDC_ARTIKELNAME},
        {"Seite:", IDC_SEITE},
    };
    QWidget* form = Field(IDC_ARTIKELNAME)->parentWidget();
    for (const auto& [text, id] : rows) {
        // The same letters in both: their ink starts on the same row when the baselines agree.
        Field(id)->setText(text);
        Field(id)->setCursorPosition(0);
    }
    const QImage image = form->grab().toImage();
    const auto labels = form->findChildren<QLabel*>();
    for (const auto& [text, id] : rows) {
        const auto label = std::find_if(labels.begin(), labels.end(),
                                        [&](QLabel* l) { return l->text() == text; });
        ASSERT_NE(label, labels.end()) << text;
        const QRect field = Field(id)->geometry();
        // Inside the field's frame, and only as wide as the text (the page field is narrow).
        const QRect inside = field.adjusted(3, 3, -3, -3);
        const int labelInk = InkTop(image, (*label)->geometry());
        const int fieldInk = InkTop(image, inside);
        ASSERT_GE(labelInk, 0) << text;
        ASSERT_GE(fieldInk, 0) << text;
        EXPECT_NEAR(labelInk, fieldInk, 1) << text;
        // A screen reader names the field by its label.
        EXPECT_EQ(Field(id)->accessibleName() + ":", text);
    }
}

}  // namespace
