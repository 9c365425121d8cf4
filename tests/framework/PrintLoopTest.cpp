#include <AfxRes.h>
#include <CWinApp.h>
#include <ModalSeam.h>
#include <PrinterChoice.h>
#include <ResourceLookup.h>

#include <QAbstractPrintDialog>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "CountingView.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

// The print loop on its own: a view without window or document, an application that only keeps
// the printer, and every question answered through the modal seam.
class PrintLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApplication();
        AfxSetResourceTables(&PeriolexResources());
        ModalSeam::Reset();
    }
    void TearDown() override {
        AfxSetPrintersInstalledForTesting(std::nullopt);
        EXPECT_EQ(ModalSeam::Pending(), 0u);
        EXPECT_TRUE(ModalSeam::Unanswered().empty());
        ModalSeam::Reset();
    }
    QString Pdf(const QString& name = QStringLiteral("druck.pdf")) const {
        return m_dir.filePath(name);
    }
    bool PrintTo(const QString& path) {
        const std::unique_ptr<QPrinter> printer = AfxMakePdfPrinter(path, nullptr);
        return m_view.PrintDirect(printer.get());
    }

    QTemporaryDir m_dir;
    CWinApp m_app;
    CountingView m_view;
};

TEST_F(PrintLoopTest, EveryPageGetsAFreshContextBetweenBeginAndEnd) {
    ASSERT_TRUE(PrintTo(Pdf()));
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare", "begin", "dc 1", "print 1", "dc 2", "print 2",
                                           "dc 3", "print 3", "end"}));
    const QStringList pages = PdfPages(Pdf());
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[2].contains("Seite 3"));
}

TEST_F(PrintLoopTest, ARefusedPreparationAStoppedOrAFailingPageEndsThePrinting) {
    m_view.m_bPrepare = false;
    EXPECT_FALSE(PrintTo(Pdf("nie.pdf")));
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare"}));
    EXPECT_FALSE(QFile::exists(Pdf("nie.pdf")));

    m_view.m_calls.clear();
    m_view.m_bPrepare = true;
    m_view.m_nLastPage = 2;
    ASSERT_TRUE(PrintTo(Pdf()));
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare", "begin", "dc 1", "print 1", "dc 2", "print 2",
                                           "dc 3", "end"}));
    EXPECT_EQ(PdfPages(Pdf()).size(), 2);

    // The failure goes on to whoever ran the command, after the printing has ended.
    m_view.m_calls.clear();
    m_view.m_bFailOnPrint = true;
    EXPECT_THROW(PrintTo(Pdf()), std::runtime_error);
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare", "begin", "dc 1", "print 1", "end"}));
}

TEST_F(PrintLoopTest, AnUnwritableFileIsReportedAndNothingIsPrinted) {
    ModalSeam::Push({IDOK, {}, {}});
    const QString path = m_dir.filePath("fehlt/druck.pdf");
    EXPECT_FALSE(PrintTo(path));
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].text,
              QString("Der Druck auf „%1“ ist nicht möglich.").arg(path));
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare"}));
}

TEST_F(PrintLoopTest, ThePrintDialogOffersThePagesAndPrintsExactlyThoseChosen) {
    AfxSetPrintersInstalledForTesting(true);
    int offeredMax = 0;
    ModalSeam::Push({IDOK, Pdf(), [&](QWidget* w) {
                         auto* dialog = static_cast<QAbstractPrintDialog*>(w);
                         offeredMax = dialog->maxPage();
                         dialog->setPrintRange(QAbstractPrintDialog::PageRange);
                         dialog->setFromTo(2, 3);
                     }});
    m_view.m_nPages = 5;
    m_view.OnFilePrint();
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].kind, ModalRequest::Kind::Dialog);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Drucken");
    EXPECT_EQ(offeredMax, 5);
    EXPECT_EQ(m_view.m_printed, std::multiset<unsigned>({2, 3}));
    const QStringList pages = PdfPages(Pdf());
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Seite 2"));

    // The next printing starts again from all pages; a cancelled one prints nothing.
    m_view.m_printed.clear();
    ModalSeam::Push({IDOK, Pdf("alle.pdf"), {}});
    m_view.OnFilePrint();
    EXPECT_EQ(m_view.m_printed, std::multiset<unsigned>({1, 2, 3, 4, 5}));
    m_view.m_printed.clear();
    ModalSeam::Push({IDCANCEL, Pdf("nie.pdf"), {}});
    m_view.OnFilePrint();
    EXPECT_TRUE(m_view.m_printed.empty());
    EXPECT_FALSE(QFile::exists(Pdf("nie.pdf")));
}

TEST_F(PrintLoopTest, WithoutAPrinterThePagesGoIntoTheChosenPdfFile) {
    AfxSetPrintersInstalledForTesting(false);
    ModalSeam::Push({IDOK, Pdf("ohne Drucker"), {}});
    m_view.OnCmdMsg(ID_FILE_PRINT_DIRECT, CmdAction::Execute);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].kind, ModalRequest::Kind::FileDialog);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Als PDF-Datei drucken");
    EXPECT_EQ(PdfPages(Pdf("ohne Drucker.pdf")).size(), 3) << "the .pdf is added to a bare name";

    m_view.m_calls.clear();
    ModalSeam::Push({IDCANCEL, {}, {}});
    m_view.OnFilePrint();
    EXPECT_EQ(m_view.m_calls, QStringList({"prepare"}));
}

}  // namespace
