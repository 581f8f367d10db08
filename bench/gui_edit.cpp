// Cursor keys over a 500,000-row table and typing into one cell, each drawn and presented.
#include "grid/Navigator.h"
#include "grid/NavigatorHost.h"
#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollBar>
#include <QKeyEvent>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int TableRows = 500000;

// Counts the paint events a widget really receives, so the figures include presenting.
struct PaintCounter : QObject {
    long paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The window around the grid: the measured keys need nothing of it.
struct QuietHost : NavigatorHost {
    void updateStatus(int) override {}
    void markModified() override {}
    bool returnMovesRight() const override { return false; }
    void runUserKey(int, bool) override {}
    void showToolPalette(int, const QPoint&) override {}
    bool copySelection() override { return false; }
    void pasteAtCursor() override {}
    void viewModesChanged() override {}
};

// The grid as the main window wires it, on a window of 1280 x 800, with a full table.
struct Bench {
    Bench() {
        std::string row = "12345\tsome text\t2026/12/07\t-0.25\t長い日本語のセル";
        for (int r = 0; r < TableRows; ++r) hyo.setRow(r, std::to_string(r) + "\t" + row);
        hyo.setWidestRow(hyo.widestRowCount());
        hyo.journal().setRecording(false);

        auto* layout = new QGridLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        grid = new GridWidget(&window);
        scrRight = new QScrollBar(Qt::Vertical, &window);
        scrBottom = new QScrollBar(Qt::Horizontal, &window);
        layout->addWidget(grid, 0, 0);
        layout->addWidget(scrRight, 0, 1);
        layout->addWidget(scrBottom, 1, 0);
        view = std::make_unique<CMyHyoDraw>(hyo, com);
        view->attach(1920, 1080, 0, 0, 100);
        view->setOptions(true, true, 0, 0, 0);
        grid->setView(view.get());
        edit.attach(grid);
        nav = std::make_unique<Navigator>(hyo, *view, edit, global, grid, scrRight, scrBottom, host);
        nav->installOn(grid);
        grid->installEventFilter(&gridPaints);
        QObject::connect(scrRight, &QScrollBar::valueChanged, [this] { nav->scr_RightChange(); });
        QObject::connect(scrBottom, &QScrollBar::valueChanged, [this] { nav->scr_BottomChange(); });
        window.resize(1280, 800);
        window.show();
        // Painting starts once the platform has exposed the window.
        for (int i = 0; i < 50 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
        grid->setFocus();
        view->setViewSize(grid->width(), grid->height());
        nav->raiseScrollRanges();
        nav->goToCell(0, 0);
        grid->repaint();
    }

    // One key as the user presses it, then the window shows the result.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, m);
        QApplication::sendEvent(grid, &press);
        grid->repaint();
    }

    PaintCounter gridPaints;
    QuietHost host;
    CMyHyo hyo;
    CMyHyoCom com;
    CMyGlobal global;
    QWidget window;
    GridWidget* grid = nullptr;
    QScrollBar* scrRight = nullptr;
    QScrollBar* scrBottom = nullptr;
    std::unique_ptr<CMyHyoDraw> view;
    CMyEdit edit;
    std::unique_ptr<Navigator> nav;
};

// Held here rather than as a function's static so that its widgets go before the application.
std::unique_ptr<Bench> instance;

Bench& bench() {
    if (!instance) instance = std::make_unique<Bench>();
    return *instance;
}

// 10,000 keys in a walk that mixes in-view moves with page and row moves that scroll.
void BM_KeyboardWalk(benchmark::State& state) {
    Bench& b = bench();
    const Qt::Key pattern[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_PageDown,
                               Qt::Key_Down, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_Up,
                               Qt::Key_PageUp, Qt::Key_PageDown};
    for (auto _ : state) {
        state.PauseTiming();
        b.nav->goToCell(0, 0);
        long rendersBefore = b.view->renderCount();
        long paintsBefore = b.gridPaints.paints;
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) b.key(pattern[i % 10]);
        state.counters["renders"] = static_cast<double>(b.view->renderCount() - rendersBefore);
        state.counters["row"] = b.view->curRow();
        state.counters["paints"] = static_cast<double>(b.gridPaints.paints - paintsBefore);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_KeyboardWalk)->Unit(benchmark::kMillisecond)->Iterations(1);

// A key move that scrolls: PageDown re-renders a whole page and presents it.
void BM_PageDownScrolls(benchmark::State& state) {
    Bench& b = bench();
    b.nav->goToCell(0, 250000);
    for (auto _ : state) {
        b.key(Qt::Key_PageDown);
        if (b.view->curRow() > TableRows - 1000) {
            state.PauseTiming();
            b.nav->goToCell(0, 250000);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_PageDownScrolls)->Unit(benchmark::kMicrosecond);

// Down at the last visible row scrolls by one row.
void BM_DownScrollsOneRow(benchmark::State& state) {
    Bench& b = bench();
    b.nav->goToCell(0, 100000);
    for (auto _ : state) b.key(Qt::Key_Down);
}
BENCHMARK(BM_DownScrollsOneRow)->Unit(benchmark::kMicrosecond);

// Down inside the view moves only the exclusive-or cursor.
void BM_DownInsideTheView(benchmark::State& state) {
    Bench& b = bench();
    int n = 0;
    for (auto _ : state) {
        if (n++ % 20 == 0) {
            state.PauseTiming();
            b.nav->goToCell(0, 1000);
            b.scrRight->setValue(1000);
            state.ResumeTiming();
        }
        b.key(Qt::Key_Down);
    }
}
BENCHMARK(BM_DownInsideTheView)->Unit(benchmark::kMicrosecond);

// Typing 1,000 characters into one cell, each drawn in the editor's box.
void BM_TypeIntoOneCell(benchmark::State& state) {
    Bench& b = bench();
    QWidget* surface = nullptr;
    PaintCounter surfacePaints;
    const QString letters = QString::fromUtf8("abcdefghijあいうえお");
    for (auto _ : state) {
        state.PauseTiming();
        b.nav->goToCell(2, 10);
        b.nav->session().startTyping();
        surface = b.edit.surfaceWidget();
        surface->installEventFilter(&surfacePaints);
        long paintsBefore = surfacePaints.paints;
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            b.edit.typeText(letters.mid(i % letters.size(), 1));
            surface->repaint();
        }
        state.PauseTiming();
        state.counters["bytes"] = b.edit.totalLength();
        state.counters["paints"] = static_cast<double>(surfacePaints.paints - paintsBefore);
        b.nav->keyboard().FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_TypeIntoOneCell)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    instance.reset();
    return 0;
}
