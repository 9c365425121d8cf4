#include <CMDIFrameWnd.h>
#include <CPreviewView.h>
#include <CPrintInfo.h>
#include <CRecordingDC.h>
#include <ModalSeam.h>
#include <PrinterChoice.h>
#include <sqlite3.h>

#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "app/CMainFrame.h"
#include "framework/PdfPages.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/CPeriolexView.h"

namespace {

using Texts = std::vector<CRecordingDC::Text>;

constexpr int kFooterY = -15600;

void Execute(const QString& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_close(db);
}

class PrintingTest : public ProgramTest {
protected:
    void TearDown() override {
        AfxSetPrintersInstalledForTesting(std::nullopt);
        ProgramTest::TearDown();
    }

    // A catalogue whose record i (from 1) is "i", "Heft i", "Artikel i", "i".
    QString Numbered(int n) {
        const QString path = GeneratedCatalogue(0, QStringLiteral("n%1.plx").arg(n));
        std::string sql = "BEGIN;";
        for (int i = 1; i <= n; ++i) {
            const std::string s = std::to_string(i);
            sql +=
                "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, "
                "Artikelname, Seite) VALUES ('" +
                s + "', 'Heft " + s + "', 'Artikel " + s + "', '" + s + "');";
        }
        Execute(path, sql + "COMMIT;");
        return path;
    }

    // What the active view puts on page `page`.
    Texts PrintPage(unsigned page) {
        CRecordingDC dc;
        CPrintInfo info;
        info.m_nCurPage = page;
        ActiveView()->OnPrint(&dc, &info);
        return dc.Texts();
    }
    static Texts Rows(const Texts& texts) {
        Texts rows;
        for (const auto& t : texts) {
            if (t.y <= -1440 && t.y > kFooterY) {
                rows.push_back(t);
            }
        }
        return rows;
    }
    static double RightEdge(const CRecordingDC::Text& t) {
        return t.x + QFontMetricsF(t.font).horizontalAdvance(t.text);
    }
    unsigned PageCountOf(const QString& path) {
        EXPECT_TRUE(App()->OpenDocumentFile(path));
        CPrintInfo info;
        info.m_bPreview = true;
        EXPECT_TRUE(ActiveView()->OnPreparePrinting(&info));
        const unsigned pages = info.GetMaxPage();
        RunCommand(ID_FILE_CLOSE);
        return pages;
    }
};

TEST_F(PrintingTest, EveryFortyFiveRecordsFillAPage) {
    ASSERT_TRUE(Start());
    const std::pair<int, unsigned> cases[] = {{0, 1},  {1, 1},  {44, 1}, {45, 1},
                                              {46, 2}, {90, 2}, {91, 3}};
    for (const auto& [records, pages] : cases) {
        EXPECT_EQ(PageCountOf(GeneratedCatalogue(records, QStringLiteral("c%1.plx").arg(records))),
                  pages)
            << records << " records";
    }
}

TEST_F(PrintingTest, APageIsHeaderHeadingsFortyFiveRowsAndFooterInTwips) {
    ASSERT_TRUE(Start({Numbered(46)}));
    const Texts texts = PrintPage(1);
    ASSERT_EQ(texts.size(), 2u + 45u + 2u);
    for (const auto& t : texts) {
        EXPECT_EQ(t.mapMode, MM_TWIPS);
        EXPECT_EQ(t.font.pixelSize(), 280);
        EXPECT_TRUE(QFontInfo(t.font).fixedPitch()) << QFontInfo(t.font).family().toStdString();
    }
    EXPECT_EQ(std::tie(texts[0].x, texts[0].y, texts[0].text), std::make_tuple(0, 0, "Periolex"));
    EXPECT_EQ(std::tie(texts[1].x, texts[1].y), std::make_tuple(720, -720));
    EXPECT_EQ(texts[1].text,
              "Nummer     Name         Artikelname                    Seite               ");

    const Texts rows = Rows(texts);
    ASSERT_EQ(rows.size(), 45u);
    const int step = rows[0].y - rows[1].y;
    EXPECT_LE(step, 314);
    EXPECT_GE(step, 300) << "rows must not overlap";
    const int height = QFontMetricsF(rows[0].font).height();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].x, 720);
        EXPECT_EQ(rows[k].y, -1440 - static_cast<int>(k) * step);
    }
    EXPECT_GT(rows.back().y - height, kFooterY) << "the last row ends above the footer";
    EXPECT_TRUE(
        rows[0].text.startsWith("1          Heft 1       Artikel 1                      1"));

    const auto& document = texts[texts.size() - 2];
    EXPECT_EQ(std::tie(document.x, document.y, document.text),
              std::make_tuple(0, kFooterY, "Dokument n46.plx"));
    EXPECT_EQ(std::tie(texts.back().y, texts.back().text), std::make_tuple(kFooterY, "Seite 1"));
    EXPECT_NEAR(RightEdge(texts.back()), 11338, 1);
}

TEST_F(PrintingTest, EachPageHoldsItsOwnRecordsAndEndsItsNumberAtTheRightEdge) {
    ASSERT_TRUE(Start({Numbered(100)}));
    const Texts second = Rows(PrintPage(2));
    ASSERT_EQ(second.size(), 45u);
    EXPECT_TRUE(second.front().text.startsWith("46 "));
    EXPECT_TRUE(second.back().text.startsWith("90 "));
    EXPECT_EQ(ActiveView()->m_nPrintPage, 2);
    const Texts third = Rows(PrintPage(3));
    ASSERT_EQ(third.size(), 10u);
    EXPECT_TRUE(third.back().text.startsWith("100 "));

    const Texts far = PrintPage(12345);
    EXPECT_TRUE(Rows(far).empty()) << "a page past the records has no rows";
    EXPECT_EQ(far.back().text, "Seite 12345");
    EXPECT_NEAR(RightEdge(far.back()), 11338, 1);
}

TEST_F(PrintingTest, ColumnsArePaddedByCharactersAndLongTextsPushTheRowOn) {
    const QString path = GeneratedCatalogue(0, "spalten.plx");
    Execute(path,
            "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, "
            "Seite) VALUES ('3/1996', 'Ärztepost', 'Übergewicht im Griff', '12'),"
            "('4/1996', 'Gartenfreund extra', 'Teich anlegen', '8')");
    ASSERT_TRUE(Start({path}));
    const Texts rows = Rows(PrintPage(1));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text,
              "3/1996     Ärztepost    Übergewicht im Griff           12" + QString(18, ' '));
    EXPECT_EQ(rows[1].text,
              "4/1996     Gartenfreund extra Teich anlegen                  8" + QString(19, ' '));
}

TEST_F(PrintingTest, AnEmptyCatalogueGetsHeaderAndFooterOnly) {
    ASSERT_TRUE(Start({GeneratedCatalogue(0, "leer.plx")}));
    const Texts texts = PrintPage(1);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2].text, "Dokument leer.plx");
    EXPECT_EQ(Caption(), "Datensatz 0 von 0");
}

TEST_F(PrintingTest, PrintingStoresTheTypedTextFirstAndShowsRecordOneAfterwards) {
    const QString path = Numbered(100);
    ASSERT_TRUE(Start({path}));
    for (int i = 0; i < 4; ++i) {
        RunCommand(ID_DATENSATZ_NAECHSTER);
    }
    TypeInto(IDC_ARTIKELNAME, "Neu getippt");
    const QString pdf = TempPath("druck.pdf");
    ModalSeam::Push({IDOK, pdf, {}});
    AfxSetPrintersInstalledForTesting(true);
    QTest::keyClick(MainFrame()->MainWindow(), Qt::Key_P, Qt::ControlModifier);
    ProcessEvents();

    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Drucken");
    EXPECT_EQ(StoredRecords(path)[4][2], "Neu getippt");
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("Neu getippt")) << pages[0].toStdString();
    EXPECT_EQ(Caption(), "Datensatz 1 von 100");
    EXPECT_EQ(FormTexts(), StoredRecord({"1", "Heft 1", "Artikel 1", "1"}));
}

QStringList s_messages;

void Record(QtMsgType, const QMessageLogContext&, const QString& message) {
    s_messages << message;
}

TEST_F(PrintingTest, PrinterSetupWritesNothingToTheTerminal) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    s_messages.clear();
    const QtMessageHandler before = qInstallMessageHandler(Record);
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_PRINT_SETUP);
    qInstallMessageHandler(before);
    EXPECT_EQ(s_messages, QStringList()) << s_messages.join('\n').toStdString();
}

TEST_F(PrintingTest, ThePreviewKeepsTheCataloguesNameInTheCaption) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    QMainWindow* window = MainFrame()->MainWindow();
    EXPECT_EQ(window->windowTitle(), "Periolex - [Beispiel.plx]");
    RunCommand(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(CPreviewView::Current(), nullptr);
    EXPECT_EQ(window->windowTitle(), "Periolex - Beispiel.plx");
    CPreviewView::Current()->Close();
    ProcessEvents();
    EXPECT_EQ(window->windowTitle(), "Periolex - [Beispiel.plx]");
}

TEST_F(PrintingTest, AConflictAnsweredBackToTheFormPrintsNothingAndKeepsTheTypedText) {
    const QString path = Numbered(10);
    ASSERT_TRUE(Start({path}));
    for (int i = 0; i < 4; ++i) {
        RunCommand(ID_DATENSATZ_NAECHSTER);
    }
    TypeInto(IDC_ARTIKELNAME, "Neu getippt");
    Execute(path, "UPDATE Zeitschriften SET Artikelname = 'Von B' WHERE ID = 5");
    const QString pdf = TempPath("druck.pdf");
    AfxSetPrintersInstalledForTesting(true);
    ModalSeam::Push({IDCANCEL, {}, {}});
    QTest::keyClick(MainFrame()->MainWindow(), Qt::Key_P, Qt::ControlModifier);
    ProcessEvents();

    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains("Jetzt gespeichert: „Von B“"));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(StoredRecords(path)[4][2], "Von B");
    EXPECT_EQ(Caption(), "Datensatz 5 von 10");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Neu getippt");

    // Keeping the typed text prints it.
    ModalSeam::Push({IDYES, {}, {}});
    ModalSeam::Push({IDOK, pdf, {}});
    QTest::keyClick(MainFrame()->MainWindow(), Qt::Key_P, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(StoredRecords(path)[4][2], "Neu getippt");
    ASSERT_EQ(PdfPages(pdf).size(), 1);
    EXPECT_TRUE(PdfPages(pdf)[0].contains("Neu getippt"));
}

// Taking the stored texts leaves the form on its record when the printing is then cancelled:
// typing into that field again is no conflict with oneself.
TEST_F(PrintingTest, AfterTakingTheStoredTextsACancelledPrintLeavesTheFormInStep) {
    const QString path = Numbered(10);
    ASSERT_TRUE(Start({path}));
    TypeInto(IDC_ARTIKELNAME, "Von A");
    Execute(path, "UPDATE Zeitschriften SET Artikelname = 'Von B' WHERE ID = 1");
    AfxSetPrintersInstalledForTesting(true);
    ModalSeam::Push({IDNO, {}, {}});
    ModalSeam::Push({IDCANCEL, {}, {}});
    QTest::keyClick(MainFrame()->MainWindow(), Qt::Key_P, Qt::ControlModifier);
    ProcessEvents();
    ASSERT_EQ(Field(IDC_ARTIKELNAME)->text(), "Von B");
    EXPECT_EQ(Caption(), "Datensatz 1 von 10");

    TypeInto(IDC_ARTIKELNAME, "Doch von A");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(StoredRecords(path)[0][2], "Doch von A");
    EXPECT_EQ(ModalSeam::Requests().size(), 2u) << "only the first conflict asks";
}

// The program itself, started from the command line to print.
class CommandLinePrintTest : public ProgramTest {
protected:
    struct Run {
        int exitCode;
        QString errors;
    };
    Run Periolex(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PERIOLEX_SYSTEM_DIR", PERIOLEX_RES_BINARY_DIR);
        env.insert("XDG_CONFIG_HOME", TempPath("config"));
        env.insert("XDG_DATA_HOME", TempPath("data"));
        process.setProcessEnvironment(env);
        process.start(PERIOLEX_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(CommandLinePrintTest, PrintToAPdfFileWritesTheCatalogueAndLeavesItUnchanged) {
    const QString catalogue = CopyOfExample();
    const QByteArray before = FileBytes(catalogue);
    const QString pdf = TempPath("Beispiel.pdf");
    const Run run = Periolex({"--print-to", pdf, catalogue});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 8) << "333 records";
    EXPECT_TRUE(pages[0].startsWith("Periolex"));
    EXPECT_TRUE(pages[0].contains("Nummer     Name         Artikelname                    Seite"));
    EXPECT_TRUE(pages[0].contains("3/1996     Datenkompass PCs mit 133 MHz im Test        6"));
    EXPECT_TRUE(pages[0].contains("Dokument Beispiel.plx"));
    EXPECT_TRUE(pages[0].contains("Seite 1"));
    EXPECT_TRUE(pages[7].contains("Seite 8"));
    EXPECT_EQ(FileBytes(catalogue), before);
}

TEST_F(CommandLinePrintTest, AFailureEndsWithAGermanMessageAndExitCodeOne) {
    const QString text = TempPath("brief.plx");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Lieber Otto, dies ist kein Katalog.\n");
    file.close();
    Run run = Periolex({"--print-to", TempPath("brief.pdf"), text});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("brief.plx")) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(TempPath("brief.pdf")));

    run = Periolex({"--print-to", "Nirgendwo", CopyOfExample()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("Der Drucker „Nirgendwo“ ist nicht vorhanden."))
        << run.errors.toStdString();

    if (QPrinterInfo::defaultPrinter().isNull()) {
        run = Periolex({"-p", CopyOfExample()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains("Es ist kein Standarddrucker eingerichtet."))
            << run.errors.toStdString();
    }
}

}  // namespace
