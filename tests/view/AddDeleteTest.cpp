#include <CMDIChildWnd.h>
#include <ModalSeam.h>

#include <QLineEdit>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/CPeriolexView.h"

namespace {

const StoredRecord kBlank{" ", " ", " ", " "};

class AddDeleteTest : public ProgramTest {
protected:
    QString Shown() const { return Field(IDC_ARTIKELNAME)->text(); }
    static QStringList Articles(const QString& path) {
        QStringList names;
        for (const StoredRecord& r : StoredRecords(path)) {
            names << r[2];
        }
        return names;
    }
    void AnswerDelete(int answer) { ModalSeam::Push({answer, {}, {}}); }
};

TEST_F(AddDeleteTest, AddStoresTheFormThenAppendsABlankRecord) {
    const QString path = GeneratedCatalogue(5);
    ASSERT_TRUE(Start({path}));
    RunCommand(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_ARTIKELNAME, "Vor dem Hinzufügen");
    RunCommand(ID_DATENSATZ_HINZUFUEGEN);
    EXPECT_EQ(Caption(), "Datensatz 6 von 6");
    EXPECT_EQ(FormTexts(), kBlank);
    RunCommand(ID_DATENSATZ_HINZUFUEGEN);
    EXPECT_EQ(Caption(), "Datensatz 7 von 7");
    const auto records = StoredRecords(path);
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[1][2], "Vor dem Hinzufügen");
    EXPECT_EQ(records[5], kBlank);
    EXPECT_EQ(records[6], kBlank);
}

TEST_F(AddDeleteTest, TheOnlyRecordIsNeverDeleted) {
    const QString path = GeneratedCatalogue(1);
    const QByteArray before = FileBytes(path);
    ASSERT_TRUE(Start({path}));
    AnswerDelete(IDOK);
    RunCommand(ID_DATENSATZ_LOESCHEN);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Es ist nur 1 Datensatz vorhanden");
    EXPECT_EQ(ModalSeam::Requests()[0].type, MB_OK);
    EXPECT_EQ(Caption(), "Datensatz 1 von 1");
    Stop();
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(AddDeleteTest, ConfirmedDeleteShowsTheLastRecord) {
    const QString path = GeneratedCatalogue(5);
    const QStringList articles = Articles(path);
    ASSERT_TRUE(Start({path}));
    RunCommand(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_SEITE, "999");  // typed into the record that goes: written nowhere
    AnswerDelete(IDYES);
    RunCommand(ID_DATENSATZ_LOESCHEN);
    const ModalRequest& question = ModalSeam::Requests().at(0);
    EXPECT_EQ(question.text, "Möchten Sie den Datensatz löschen?");
    EXPECT_EQ(question.caption, "Periolex");
    EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Caption(), "Datensatz 4 von 4");
    EXPECT_EQ(Shown(), articles[4]);
    Stop();
    EXPECT_EQ(Articles(path), QStringList({articles[0], articles[2], articles[3], articles[4]}));
    for (const StoredRecord& r : StoredRecords(path)) {
        EXPECT_NE(r[3], "999");
    }
}

TEST_F(AddDeleteTest, DeclinedDeleteChangesNothingAndKeepsTypedText) {
    const QString path = GeneratedCatalogue(2);
    ASSERT_TRUE(Start({path}));
    TypeInto(IDC_ARTIKELNAME, "Noch nicht gespeichert");
    AnswerDelete(IDNO);
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(Shown(), "Noch nicht gespeichert");
    EXPECT_EQ(Caption(), "Datensatz 1 von 2");
    EXPECT_EQ(StoredRecords(path).size(), 2u);
}

TEST_F(AddDeleteTest, TwoRecordsDeleteToOneThenRefuse) {
    ASSERT_TRUE(Start({GeneratedCatalogue(2)}));
    AnswerDelete(IDYES);
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(Caption(), "Datensatz 1 von 1");
    AnswerDelete(IDOK);
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(ModalSeam::Requests().back().text, "Es ist nur 1 Datensatz vorhanden");
}

// Two windows on one catalogue share one record set; each must write only into the record it
// shows, whatever the other did meanwhile.
class TwoWindowsTest : public AddDeleteTest {
protected:
    void SetUp() override {
        AddDeleteTest::SetUp();
        m_path = GeneratedCatalogue(6);
        m_original = StoredRecords(m_path);
        ASSERT_TRUE(Start({m_path}));
        RunCommand(ID_WINDOW_NEW);
        const auto frames = MainFrame()->GetChildFrames();
        ASSERT_EQ(frames.size(), 2u);
        m_first = frames[0];
        m_second = frames[1];
    }
    void In(CMDIChildWnd* frame) { frame->ActivateFrame(); }
    QString m_path;
    std::vector<StoredRecord> m_original;
    CMDIChildWnd* m_first = nullptr;
    CMDIChildWnd* m_second = nullptr;
};

TEST_F(TwoWindowsTest, SteppingEditingAddingAndDeletingInTurns) {
    In(m_second);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    RunCommand(ID_DATENSATZ_NAECHSTER);  // second window: record 3
    TypeInto(IDC_ARTIKELNAME, "Zweites Fenster");

    In(m_first);  // first window still shows record 1
    EXPECT_EQ(Caption(), "Datensatz 1 von 6");
    TypeInto(IDC_ARTIKELNAME, "Erstes Fenster");
    RunCommand(ID_DATENSATZ_NAECHSTER);  // stores record 1, steps from record 1 to record 2
    EXPECT_EQ(Caption(), "Datensatz 2 von 6");
    EXPECT_EQ(Shown(), m_original[1][2]);

    In(m_second);
    RunCommand(ID_DATENSATZ_NAECHSTER);  // stores record 3, steps from it to record 4
    EXPECT_EQ(Caption(), "Datensatz 4 von 6");

    In(m_first);
    RunCommand(ID_DATENSATZ_HINZUFUEGEN);
    EXPECT_EQ(Caption(), "Datensatz 7 von 7");
    In(m_second);
    EXPECT_EQ(Caption(), "Datensatz 4 von 7") << "the other window follows the count";
    TypeInto(IDC_SEITE, "44");

    In(m_first);
    RunCommand(ID_DATENSATZ_VORHERIGER);  // record 6
    AnswerDelete(IDYES);
    RunCommand(ID_DATENSATZ_LOESCHEN);  // deletes record 6, shows the added record
    EXPECT_EQ(Caption(), "Datensatz 6 von 6");

    In(m_second);
    EXPECT_EQ(Caption(), "Datensatz 4 von 6");
    EXPECT_EQ(Field(IDC_SEITE)->text(), "44") << "typed text survives the other window's delete";
    Stop();

    std::vector<StoredRecord> expected = m_original;
    expected[0][2] = "Erstes Fenster";
    expected[2][2] = "Zweites Fenster";
    expected[3][3] = "44";
    expected.erase(expected.begin() + 5);
    expected.push_back(kBlank);
    EXPECT_EQ(StoredRecords(m_path), expected);
}

TEST_F(TwoWindowsTest, AWindowWhoseRecordWasDeletedShowsTheFirstRecord) {
    In(m_second);
    RunCommand(ID_DATENSATZ_LETZTER);
    TypeInto(IDC_ARTIKELNAME, "Geht verloren");
    In(m_first);
    RunCommand(ID_DATENSATZ_LETZTER);
    AnswerDelete(IDYES);
    AnswerDelete(IDNO);  // the second window's text is not kept as a new record
    RunCommand(ID_DATENSATZ_LOESCHEN);
    ASSERT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_TRUE(ModalSeam::Requests()[1].text.contains("als neuen Datensatz speichern"));
    In(m_second);
    EXPECT_EQ(Caption(), "Datensatz 1 von 5");
    EXPECT_EQ(Shown(), m_original[0][2]);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(Caption(), "Datensatz 2 von 5");
    Stop();
    std::vector<StoredRecord> expected(m_original.begin(), m_original.begin() + 5);
    EXPECT_EQ(StoredRecords(m_path), expected);
}

}  // namespace
