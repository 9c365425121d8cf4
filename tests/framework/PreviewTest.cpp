#include <AfxRes.h>
#include <CDocTemplate.h>
#include <CDocument.h>
#include <CMDIFrameWnd.h>
#include <CPreviewView.h>
#include <CWinApp.h>
#include <ModalSeam.h>
#include <PreviewCanvas.h>
#include <PrinterChoice.h>
#include <ResourceLookup.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <set>

#include "CountingView.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

// A main window with one document whose view counts the pages it is asked to draw.
class PreviewApp : public CWinApp {
public:
    unsigned m_nPages = 3;
    CountingView* m_pView = nullptr;

    bool InitInstance() override {
        AfxSetResourceTables(&PeriolexResources());
        CWinApp::InitInstance();
        AddDocTemplate(new CDocTemplate(
            IDR_PERIOLTYPE, [] { return new CDocument; }, [] { return new CMDIChildWnd; },
            [this] {
                m_pView = new CountingView;
                m_pView->m_nPages = m_nPages;
                return m_pView;
            }));
        auto* frame = new CMDIFrameWnd;
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
            return false;
        }
        m_pMainWnd = frame;
        frame->MainWindow()->addToolBar(QStringLiteral("Leiste"));
        frame->ShowWindow(SW_SHOWMAXIMIZED);
        OnFileNew();
        return true;
    }
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApplication();
        ModalSeam::Reset();
    }
    void TearDown() override {
        if (m_app) {
            m_app->ExitInstance();
            m_app.reset();
            Settle();
        }
        AfxSetPrintersInstalledForTesting(std::nullopt);
        EXPECT_EQ(ModalSeam::Pending(), 0u);
        EXPECT_TRUE(ModalSeam::Unanswered().empty());
        ModalSeam::Reset();
    }

    void Start(unsigned pages) {
        m_app = std::make_unique<PreviewApp>();
        m_app->m_nPages = pages;
        ASSERT_TRUE(m_app->InitInstance());
        Settle();
    }
    void OpenPreview() {
        m_app->DispatchCommand(nullptr, ID_FILE_PRINT_PREVIEW);
        ASSERT_NE(Preview(), nullptr);
        Show();
    }
    // Lays the window out and paints the preview as the screen would.
    void Show() {
        Settle();
        Preview()->Canvas()->repaint();
    }
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CountingView* View() const { return m_app->m_pView; }
    CPreviewView* Preview() const { return View()->GetPrintPreview(); }
    CMDIFrameWnd* Frame() const { return AfxGetMainFrame(); }
    QMainWindow* Window() const { return Frame()->MainWindow(); }
    QPushButton* Button(unsigned labelId) const { return Preview()->Button(labelId); }
    std::set<unsigned> PagesDrawn() const {
        return {View()->m_printed.begin(), View()->m_printed.end()};
    }

    std::unique_ptr<PreviewApp> m_app;
};

TEST_F(PreviewTest, OnlyThePagesOnScreenAreEverDrawn) {
    Start(22223);
    OpenPreview();
    EXPECT_EQ(View()->m_calls.mid(0, 2), QStringList({"prepare", "begin"}));
    EXPECT_EQ(PagesDrawn(), std::set<unsigned>({1}));
    EXPECT_EQ(Preview()->PageIndicator(), "Seite 1 von 22223");

    Preview()->GoToPage(20000);
    Show();
    Show();
    EXPECT_EQ(PagesDrawn(), std::set<unsigned>({1, 20000}));
    EXPECT_EQ(View()->m_printed.count(20000), 1u) << "a page on screen is drawn once";

    Preview()->ToggleTwoPages();
    Show();
    EXPECT_EQ(PagesDrawn(), std::set<unsigned>({1, 20000, 20001}));
    EXPECT_EQ(Preview()->PageIndicator(), "Seiten 20000–20001 von 22223");
    // The program ends with the preview open: it must give the window back on the way.
}

TEST_F(PreviewTest, ThePreviewStandsInForTheDocumentWindowsUntilItPrints) {
    QTemporaryDir dir;
    AfxSetPrintersInstalledForTesting(false);
    Start(3);
    QWidget* documentArea = Window()->centralWidget();
    ASSERT_EQ(documentArea, Frame()->MdiArea());
    OpenPreview();
    EXPECT_EQ(Window()->centralWidget(), Preview()->Widget());
    EXPECT_TRUE(Preview()->Widget()->isVisible());
    EXPECT_FALSE(Window()->menuBar()->isVisible());
    EXPECT_FALSE(Window()->findChild<QToolBar*>()->isVisible());
    EXPECT_FALSE(Frame()->OnCmdMsg(ID_FILE_PRINT, CmdAction::Query))
        << "the document's commands are out of reach while the preview shows";

    ModalSeam::Push({IDOK, dir.filePath("vorschau.pdf"), {}});
    Button(AFX_IDS_PREVIEW_PRINT_LABEL)->click();
    Settle();
    EXPECT_EQ(View()->GetPrintPreview(), nullptr);
    EXPECT_EQ(PdfPages(dir.filePath("vorschau.pdf")).size(), 3);
    EXPECT_EQ(Window()->centralWidget(), documentArea);
    EXPECT_TRUE(documentArea->isVisible());
    EXPECT_TRUE(Window()->menuBar()->isVisible());
    EXPECT_TRUE(Window()->findChild<QToolBar*>()->isVisible());
    EXPECT_EQ(Frame()->MDIGetActive(), View()->GetParentFrame());
    EXPECT_TRUE(Frame()->OnCmdMsg(ID_FILE_PRINT, CmdAction::Query));
    EXPECT_EQ(View()->m_calls.count("end"), 2) << "the preview's printing and the real one";
}

TEST_F(PreviewTest, KeysAndButtonsTurnThePagesWithinTheDocument) {
    Start(3);
    OpenPreview();
    QStringList labels;
    for (QPushButton* b : Preview()->Widget()->findChildren<QPushButton*>()) {
        labels << b->text();
    }
    EXPECT_EQ(labels, QStringList({"&Drucken...", "&Nächste Seite", "&Vorherige Seite",
                                   "&Zwei Seiten", "Ver&größern", "Ver&kleinern", "&Schließen"}));
    EXPECT_EQ(Button(AFX_IDS_PREVIEW_CLOSE_LABEL)->toolTip(), "Seitenansicht beenden");
    EXPECT_EQ(Button(AFX_IDS_PREVIEW_CLOSE_LABEL)->statusTip(), "Beendet die Seitenansicht.");

    QWidget* canvas = Preview()->Canvas();
    EXPECT_FALSE(Button(AFX_IDS_PREVIEW_PREV_LABEL)->isEnabled());
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(canvas, Qt::Key_PageDown);
    }
    EXPECT_EQ(Preview()->PageIndicator(), "Seite 3 von 3") << "no page after the last";
    EXPECT_FALSE(Button(AFX_IDS_PREVIEW_NEXT_LABEL)->isEnabled());
    QTest::keyClick(canvas, Qt::Key_PageUp);
    Button(AFX_IDS_PREVIEW_TWOPAGE_LABEL)->click();
    EXPECT_EQ(Preview()->PageIndicator(), "Seiten 2–3 von 3");
    EXPECT_EQ(Button(AFX_IDS_PREVIEW_TWOPAGE_LABEL)->text(), "&Eine Seite");
    EXPECT_FALSE(Button(AFX_IDS_PREVIEW_NEXT_LABEL)->isEnabled()) << "page 3 is on screen";

    Button(AFX_IDS_PREVIEW_ZOOMIN_LABEL)->click();
    Button(AFX_IDS_PREVIEW_ZOOMIN_LABEL)->click();
    EXPECT_EQ(Preview()->PageIndicator(), "Seite 2 von 3") << "enlarged, one page shows";
    EXPECT_FALSE(Button(AFX_IDS_PREVIEW_ZOOMIN_LABEL)->isEnabled());
    EXPECT_FALSE(Button(AFX_IDS_PREVIEW_TWOPAGE_LABEL)->isEnabled());
    Show();
    EXPECT_GT(canvas->width(), Preview()->Widget()->width()) << "and is scrolled";

    QTest::keyClick(canvas, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(View()->GetPrintPreview(), nullptr);
    EXPECT_EQ(Window()->centralWidget(), Frame()->MdiArea());
}

TEST_F(PreviewTest, APageThatCannotBeDrawnIsReportedAndEndsThePreview) {
    Start(3);
    View()->m_bFailOnPrint = true;
    ModalSeam::Push({IDOK, {}, {}});
    OpenPreview();
    Settle();
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].text, AfxLoadString(AFX_IDP_COMMAND_FAILURE));
    EXPECT_EQ(View()->GetPrintPreview(), nullptr);
    EXPECT_EQ(Window()->centralWidget(), Frame()->MdiArea());
}

}  // namespace
