// Printing a large catalogue: the preview opens and turns pages in the time one page takes,
// whichever page it is; Qt's own preview dialog, which draws every page before it shows one, for
// comparison; and printing 100 pages into a PDF file from the start and from deep inside.
#include <benchmark/benchmark.h>
#include "OffscreenBenchmarks.h"

#include <QApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include <CDC.h>
#include <CMDIFrameWnd.h>
#include <CPreviewView.h>
#include <CPrintInfo.h>
#include <CPrintJob.h>
#include <ModalSeam.h>
#include <PreviewCanvas.h>
#include <PrinterChoice.h>
#include "CatalogueGenerator.h"
#include "app/CPeriolexApp.h"
#include "res/Resource.h"
#include "view/CPeriolexView.h"

namespace {

// The program on one catalogue, as the user has it in front of them.
class Program {
public:
    explicit Program(long records) {
        m_app.SetArguments(
            {QStringLiteral("--nosplash"), QString::fromStdString(CachedCatalogue(records))});
        m_started = m_app.InitInstance();
        QCoreApplication::processEvents();
    }
    ~Program() { m_app.ExitInstance(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return m_started && View(); }
    CPeriolexView* View() const {
        return AfxGetMainFrame() ? static_cast<CPeriolexView*>(AfxGetMainFrame()->GetActiveView())
                                 : nullptr;
    }

private:
    CPeriolexApp m_app;
    bool m_started = false;
};

// Paints what the screen shows of the preview now.
void ShowPreview(CPreviewView* preview) {
    QCoreApplication::processEvents();
    preview->Canvas()->repaint();
}

// Opening the preview on the catalogue: page 1 on screen, ready to look at.
void BM_PreviewOpen(benchmark::State& state) {
    Program program(state.range(0));
    if (!program.Started()) {
        state.SkipWithError("program did not start");
        return;
    }
    CPeriolexView* view = program.View();
    for (auto _ : state) {
        view->OnCmdMsg(ID_FILE_PRINT_PREVIEW, CmdAction::Execute);
        ShowPreview(view->GetPrintPreview());
        state.PauseTiming();
        view->EndPrintPreview();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["pages"] = CPeriolexView::PageCount(state.range(0));
}

// One page turn in the open preview, to page `range(1)` or the page after it.
void BM_PreviewPageTurn(benchmark::State& state) {
    Program program(state.range(0));
    if (!program.Started()) {
        state.SkipWithError("program did not start");
        return;
    }
    CPeriolexView* view = program.View();
    view->OnCmdMsg(ID_FILE_PRINT_PREVIEW, CmdAction::Execute);
    CPreviewView* preview = view->GetPrintPreview();
    const auto page = static_cast<unsigned>(state.range(1));
    preview->GoToPage(page);
    ShowPreview(preview);
    bool next = true;
    for (auto _ : state) {
        preview->GoToPage(next ? page + 1 : page);
        ShowPreview(preview);
        next = !next;
    }
    view->EndPrintPreview();
}

// Qt's print preview dialog: it asks for the whole document before it shows anything.
void BM_QtPreviewDialogOpen(benchmark::State& state) {
    Program program(state.range(0));
    if (!program.Started()) {
        state.SkipWithError("program did not start");
        return;
    }
    CPeriolexView* view = program.View();
    const unsigned pages = CPeriolexView::PageCount(state.range(0));
    QPrinter printer(QPrinter::HighResolution);
    for (auto _ : state) {
        QPrintPreviewDialog dialog(&printer);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
            QPainter painter(target);
            const double dpi = target->resolution();
            CPrintInfo info;
            for (unsigned page = 1; page <= pages; ++page) {
                if (page > 1) {
                    target->newPage();
                }
                CDC dc(&painter, dpi, dpi, true);
                info.m_nCurPage = page;
                view->OnPrint(&dc, &info);
            }
        });
        dialog.show();
        QCoreApplication::processEvents();
        dialog.hide();
    }
    state.counters["pages"] = pages;
}

// 100 pages into a PDF file, starting at page `range(1)`.
void BM_PrintHundredPages(benchmark::State& state) {
    Program program(state.range(0));
    if (!program.Started()) {
        state.SkipWithError("program did not start");
        return;
    }
    CPeriolexView* view = program.View();
    QTemporaryDir dir;
    const auto first = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const std::unique_ptr<QPrinter> printer =
            AfxMakePdfPrinter(dir.filePath(QStringLiteral("hundert.pdf")), nullptr);
        CPrintInfo info;
        info.m_bDirect = true;
        info.m_pPrinter = printer.get();
        QPageRanges ranges;
        ranges.addRange(first, first + 99);
        info.SetPageRanges(ranges);
        if (!CPrintJob::Run(*view, info)) {
            state.SkipWithError("printing failed");
            break;
        }
    }
    state.counters["per_page"] =
        benchmark::Counter(100.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_PreviewOpen)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPageTurn)
    ->ArgNames({"records", "page"})
    ->Args({1'000'000, 1})
    ->Args({1'000'000, 20'000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPreviewDialogOpen)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PrintHundredPages)
    ->ArgNames({"records", "first_page"})
    ->Args({1'000'000, 1})
    ->Args({1'000'000, 20'000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
