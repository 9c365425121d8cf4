#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <sqlite3.h>

#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/ArticleQuery.h"
#include "view/CPeriolexView.h"

namespace {

// Article names chosen so that each search below has a known answer.
const char* const kArticles[] = {
    "Motoröl richtig wechseln", "Neue Motorräder 1998",  "Gärten im Herbst",
    "O'Reilly trifft C++",      "50% sparen beim Strom", "Was? Wann? Wo?",
    "[1] Einführung",           "ÄRGER mit dem Öl",      "Stern*Stunden",
};

class QueryTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_path = GeneratedCatalogue(0, "abfrage.plx");
        sqlite3* db = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &db);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, "
            "Seite) VALUES (?, 'Motorwelt Zeitung', ?, '1')",
            -1, &insert, nullptr);
        int number = 0;
        for (const char* article : kArticles) {
            const std::string n = std::to_string(++number);
            sqlite3_bind_text(insert, 1, n.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, article, -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        // An article without a name: no search selects it.
        sqlite3_exec(db, "INSERT INTO Zeitschriften (Zeitschriftennummer) VALUES ('10')", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_TRUE(Start({m_path}));
    }

    // Runs the query with `text`; `messageAnswers` answers the message boxes that follow it.
    void Query(const QString& text, int messageAnswers = 0) {
        ModalSeam::Push({IDOK, {}, [text](QWidget* dialog) {
                             auto* field = dialog->findChild<QLineEdit*>();
                             field->setText(text);
                         }});
        for (int i = 0; i < messageAnswers; ++i) {
            ModalSeam::Push({IDOK, {}, {}});
        }
        RunCommand(IDC_ABFRAGE);
    }
    // The article names of the set as the form steps through it.
    QStringList Found() {
        QStringList names;
        RunCommand(ID_DATENSATZ_ERSTER);
        const int count = ActiveView()->m_Anzahl.toInt();
        for (int i = 0; i < count; ++i) {
            names << Field(IDC_ARTIKELNAME)->text();
            RunCommand(ID_DATENSATZ_NAECHSTER);
        }
        return names;
    }
    QString m_path;
};

TEST_F(QueryTest, SearchTextIsABoundPatternNeverPartOfTheStatement) {
    const ArticleQuery query = ArticleQueryFor("O'Reilly [1]?*#");
    EXPECT_EQ(query.statement,
              "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like ?))");
    EXPECT_EQ(query.parameters, std::vector<std::string>({"*O'Reilly [[]1][?][*][#]*"}));
}

TEST_F(QueryTest, NarrowsToTheArticlesContainingTheText) {
    Query("motor");
    EXPECT_EQ(Caption(), "Datensatz 1 von 2");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Motoröl richtig wechseln");
    EXPECT_EQ(Found(), QStringList({"Motoröl richtig wechseln", "Neue Motorräder 1998"}));
}

TEST_F(QueryTest, UmlautsMatchInEitherCase) {
    Query("öl");
    EXPECT_EQ(Found(), QStringList({"Motoröl richtig wechseln", "ÄRGER mit dem Öl"}));
    Query("ärger");
    EXPECT_EQ(Found(), QStringList({"ÄRGER mit dem Öl"}));
}

TEST_F(QueryTest, SearchTextsAreTakenLiterally) {
    const std::pair<const char*, const char*> cases[] = {
        {"O'Reilly", "O'Reilly trifft C++"}, {"C++", "O'Reilly trifft C++"},
        {"50%", "50% sparen beim Strom"},    {"Was?", "Was? Wann? Wo?"},
        {"[1]", "[1] Einführung"},           {"n*S", "Stern*Stunden"},
    };
    for (const auto& [text, article] : cases) {
        Query(QString::fromUtf8(text));
        EXPECT_EQ(Caption(), "Datensatz 1 von 1") << text;
        EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), QString::fromUtf8(article)) << text;
    }
}

TEST_F(QueryTest, NoMatchSaysSoAndShowsTheWholeTable) {
    for (const char* text : {"Zeitung", "xyz", "#", "'); DROP TABLE Zeitschriften; --"}) {
        Query(QString::fromUtf8(text), 1);
        EXPECT_EQ(ModalSeam::Requests().back().text, "Keine Übereinstimmungen gefunden") << text;
        EXPECT_EQ(Caption(), "Datensatz 1 von 10") << text;
    }
    EXPECT_EQ(StoredRecords(m_path).size(), 10u);
}

TEST_F(QueryTest, ANulCharacterInThePastedTextIsRefusedWithAMessage) {
    Query(QStringLiteral("Mot") + QChar(0) + QStringLiteral("or"), 1);
    ASSERT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_TRUE(ModalSeam::Requests()[1].text.contains("Nullzeichen"))
        << ModalSeam::Requests()[1].text.toStdString();
    EXPECT_EQ(Caption(), "Datensatz 1 von 10") << "the set stays as it was";
}

// A hostile paste is cut to what a search takes, and the field says so; the cut text searches.
TEST_F(QueryTest, AnOverlongPasteIsCutAndSaidAtTheField) {
    QString told;
    int length = -1;
    ModalSeam::Push({IDOK, {}, [&](QWidget* dialog) {
                         auto* field = dialog->findChild<QLineEdit*>();
                         field->insert(QStringLiteral("motor") + QString(30000, QLatin1Char('x')));
                         // What fits goes in as an edit of its own, once the refused one is gone.
                         if (QTest::qWaitFor([field] { return !field->text().isEmpty(); }, 2000)) {
                             length = static_cast<int>(field->text().size());
                         }
                         told = QToolTip::text();
                         field->setText(field->text().left(5));
                     }});
    RunCommand(IDC_ABFRAGE);
    EXPECT_EQ(length, kSearchTextLimit);
    EXPECT_TRUE(told.contains(QStringLiteral("höchstens 255 Zeichen"))) << told.toStdString();
    EXPECT_EQ(Caption(), "Datensatz 1 von 2");
}

TEST_F(QueryTest, EmptyTextSelectsEveryNamedArticle) {
    Query("");
    EXPECT_EQ(Caption(), "Datensatz 1 von 9");
}

TEST_F(QueryTest, EachQuerySelectsFromTheWholeTableAndClearingRestoresIt) {
    Query("motor");
    Query("Herbst");
    EXPECT_EQ(Caption(), "Datensatz 1 von 1");
    RunCommand(IDC_ABFRAGE_LOESCHEN);
    EXPECT_EQ(Caption(), "Datensatz 1 von 10");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Motoröl richtig wechseln");
}

TEST_F(QueryTest, CancelChangesNothingWhileAQueryDropsTypedText) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_SEITE, "77");
    ModalSeam::Push({IDCANCEL, {}, {}});
    RunCommand(IDC_ABFRAGE);
    EXPECT_EQ(Field(IDC_SEITE)->text(), "77");
    EXPECT_EQ(Caption(), "Datensatz 2 von 10");
    Query("Herbst");
    Stop();
    for (const StoredRecord& r : StoredRecords(m_path)) {
        EXPECT_NE(r[3], "77");
    }
}

TEST_F(QueryTest, AnotherWindowKeepsItsTextAndMovesIntoTheNewSet) {
    // A field without a value stays without one when the text typed beside it is stored.
    sqlite3* db = nullptr;
    sqlite3_open(m_path.toUtf8().constData(), &db);
    sqlite3_exec(db, "UPDATE Zeitschriften SET Zeitschriftenname = NULL WHERE ID = 3", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    RunCommand(ID_WINDOW_NEW);
    const auto frames = MainFrame()->GetChildFrames();
    frames[1]->ActivateFrame();
    RunCommand(ID_DATENSATZ_NAECHSTER);
    RunCommand(ID_DATENSATZ_NAECHSTER);  // "Gärten im Herbst"
    TypeInto(IDC_SEITE, "33");
    ASSERT_EQ(Field(IDC_ARTIKELNAME)->text(), "Gärten im Herbst");
    frames[0]->ActivateFrame();
    Query("motor");
    frames[1]->ActivateFrame();
    EXPECT_EQ(Caption(), "Datensatz 1 von 2");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Motoröl richtig wechseln");
    TypeInto(IDC_SEITE, "44");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    Stop();
    const auto records = StoredRecords(m_path);
    EXPECT_EQ(records[2][3], "33") << "typed text went into the record it was typed into";
    EXPECT_EQ(records[2][1], "<null>");
    EXPECT_EQ(records[0][3], "44");
    EXPECT_EQ(records[1][3], "1");
}

}  // namespace
