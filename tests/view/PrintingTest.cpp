#include <CDaoRecordset.h>
#include <CMDIChildWnd.h>
#include <CMDIFrameWnd.h>
#include <CPreviewView.h>
#include <CPrintInfo.h>
#include <CRecordingDC.h>
#include <ModalSeam.h>
#include <PreviewCanvas.h>
#include <PrinterChoice.h>
#include <sqlite3.h>

#include <QAbstractPrintDialog>
#include <QFile>
#include <QFontMetricsF>
#include <QMainWindow>
#include <QMdiArea>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "app/CMainFrame.h"
#include "doc/CPeriolexDoc.h"
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

// The text of each page of a PDF file, as pdftotext reads it.
QStringList PdfPages(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
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
    unsigned PageCountOf(const QString& path) {
        EXPECT_TRUE(App()->OpenDocumentFile(path));
        CPrintInfo info;
        info.m_bPreview = true;
        EXPECT_TRUE(ActiveView()->OnPreparePrinting(&info));
        const unsigned pages = info.GetMaxPage();
        RunCommand(ID_FILE_CLOSE);
        return pages;
    }
    // Answers the print dialog: pages `from` to `to` (0: all) into the PDF file `pdf`.
    static void AnswerPrintDialog(const QString& pdf, int from = 0, int to = 0) {
        ModalSeam::Push({IDOK, pdf, [from, to](QWidget* w) {
                             if (from > 0) {
                                 auto* dialog = static_cast<QAbstractPrintDialog*>(w);
                                 dialog->setPrintRange(QAbstractPrintDialog::PageRange);
                                 dialog->setFromTo(from, to);
                             }
                         }});
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
    EXPECT_EQ(texts.back().y, kFooterY);
}

TEST_F(PrintingTest, ThePageNumberEndsAtTheRightEdgeHoweverLong) {
    ASSERT_TRUE(Start({Numbered(3)}));
    for (unsigned page : {1u, 12345u}) {
        const Texts texts = PrintPage(page);
        const auto& number = texts.back();
        EXPECT_EQ(number.text, QStringLiteral("Seite %1").arg(page));
        const double width = QFontMetricsF(number.font).horizontalAdvance(number.text);
        EXPECT_NEAR(number.x + width, 11338, 1) << number.text.toStdString();
    }
    EXPECT_TRUE(Rows(PrintPage(12345)).empty()) << "a page past the records has no rows";
}

TEST_F(PrintingTest, EachPageHoldsItsOwnFortyFiveRecords) {
    ASSERT_TRUE(Start({Numbered(100)}));
    const Texts second = Rows(PrintPage(2));
    ASSERT_EQ(second.size(), 45u);
    EXPECT_TRUE(second.front().text.startsWith("46 "));
    EXPECT_TRUE(second.back().text.startsWith("90 "));
    EXPECT_EQ(ActiveView()->m_nPrintPage, 2);

    const Texts third = Rows(PrintPage(3));
    ASSERT_EQ(third.size(), 10u);
    EXPECT_TRUE(third.back().text.startsWith("100 "));
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
    AnswerPrintDialog(pdf);
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

TEST_F(PrintingTest, OnlyThePagesChosenInTheDialogArePrinted) {
    ASSERT_TRUE(Start({Numbered(100)}));
    AfxSetPrintersInstalledForTesting(true);
    const QString pdf = TempPath("seiten.pdf");
    AnswerPrintDialog(pdf, 2, 3);
    RunCommand(ID_FILE_PRINT);
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Seite 2"));
    EXPECT_TRUE(pages[0].contains("46         Heft 46"));
    EXPECT_TRUE(pages[1].contains("Seite 3"));

    ModalSeam::Push({IDCANCEL, {}, {}});
    RunCommand(ID_FILE_PRINT);
    EXPECT_EQ(ModalSeam::Requests().size(), 2u);
}

TEST_F(PrintingTest, WithoutAPrinterTheCatalogueIsPrintedIntoAPdfFile) {
    ASSERT_TRUE(Start({Numbered(50)}));
    AfxSetPrintersInstalledForTesting(false);
    ModalSeam::Push({IDOK, TempPath("katalog"), {}});
    RunCommand(ID_FILE_PRINT);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].kind, ModalRequest::Kind::FileDialog);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Als PDF-Datei drucken");
    EXPECT_EQ(PdfPages(TempPath("katalog.pdf")).size(), 2);
}

TEST_F(PrintingTest, AnotherWindowKeepsItsTypedTextForItsOwnRecord) {
    const QString path = Numbered(10);
    ASSERT_TRUE(Start({path}));
    RunCommand(ID_WINDOW_NEW);
    for (int i = 0; i < 6; ++i) {
        RunCommand(ID_DATENSATZ_NAECHSTER);
    }
    TypeInto(IDC_SEITE, "77");
    CMDIChildWnd* second = MainFrame()->MDIGetActive();
    CMDIChildWnd* first = MainFrame()->GetChildFrames().front() == second
                              ? MainFrame()->GetChildFrames().back()
                              : MainFrame()->GetChildFrames().front();
    first->ActivateFrame();
    AfxSetPrintersInstalledForTesting(false);
    ModalSeam::Push({IDOK, TempPath("fenster.pdf"), {}});
    RunCommand(ID_FILE_PRINT);

    second->OnClose();
    ProcessEvents();
    EXPECT_EQ(StoredRecords(path)[0][3], "1") << "the record now current is not the other's";
    EXPECT_EQ(StoredRecords(path)[6][3], "77");
}

TEST_F(PrintingTest, ThePreviewShowsTheCataloguesPagesAndLeavesTheFormOnRecordOne) {
    ASSERT_TRUE(Start({Numbered(100)}));
    RunCommand(ID_DATENSATZ_LETZTER);
    CPeriolexView* view = ActiveView();
    RunCommand(ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = view->GetPrintPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(MainFrame()->MainWindow()->centralWidget(), preview->Widget());
    EXPECT_EQ(preview->PageIndicator(), "Seite 1 von 3");
    const QImage page = preview->RenderPage(3, 72);
    EXPECT_LT(page.convertToFormat(QImage::Format_Grayscale8)
                  .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .pixelColor(0, 0)
                  .value(),
              255)
        << "the page has ink on it";

    QTest::keyClick(preview->Canvas(), Qt::Key_Escape);
    ProcessEvents();
    EXPECT_EQ(MainFrame()->MainWindow()->centralWidget(), MainFrame()->MdiArea());
    EXPECT_EQ(Caption(), "Datensatz 1 von 100");
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
