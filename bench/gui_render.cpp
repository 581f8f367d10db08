// Grid rendering speed: a 1920 x 1080 view of a 500,000-row table around row 250,000, every
// cell filled, colours and overflow on; render, present, and cursor moves.
#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 500000;
constexpr int Columns = 30;   // more than a 1920-pixel view shows at 64 pixels each
constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Top = 250000;

// A table whose cells all hold text; every third cell is coloured, every seventh row has a
// row colour, some cells are long enough to overflow, some hold a line break.
struct Table {
    CMyHyo hyo;
    CMyHyoCom com;
    std::unique_ptr<CMyHyoDraw> view;
    QImage window{Width, Height, QImage::Format_ARGB32_Premultiplied};
    std::vector<QRect> dirty;

    Table() {
        hyo.journal().setRecording(false);
        std::string row;
        for (int r = 0; r < Rows; ++r) {
            row.clear();
            if (r % 7 == 0) row += std::string{'\x07', '\x02', '\x05', static_cast<char>(r % 16)};
            for (int c = 0; c < Columns; ++c) {
                if (c) row += '\t';
                if ((r + c) % 3 == 0) row += std::string{'\x02', '\x05', static_cast<char>(c % 16)};
                if ((r + c) % 5 == 0) row += std::string{'\x02', '\x04', static_cast<char>(c % 16)};
                row += std::to_string(r * 31 + c);
                if (c % 9 == 4) row += " \x93\xfa\x96\x7b\x8c\xea";   // double-byte text
                if (c % 11 == 7) row += "\r\nline";
            }
            hyo.setRow(r, row);
        }
        hyo.setWidestRow(Columns);
        hyo.setColumnKind(3, 1, 1);
        hyo.setColumnColour(5, 5, 11);
        view = std::make_unique<CMyHyoDraw>(hyo, com);
        view->attach(Width, Height, 0, 0, 100);
        view->setViewSize(Width, Height);
        view->setOptions(true, true, 1, 2, 1);
        view->setUpdateHook([this](const QRect& rect) { dirty.push_back(rect); });
    }

    void present() {
        dirty.clear();
        view->present();
        QPainter painter(&window);
        for (const QRect& rect : dirty) view->paint(painter, rect);
    }
};

Table& table() {
    static Table instance;
    return instance;
}

void BM_RenderAndPresent(benchmark::State& state) {
    Table& t = table();
    int step = 0;
    for (auto _ : state) {
        t.view->render(0, Top + (step++ % 50), true);
        t.present();
    }
}
BENCHMARK(BM_RenderAndPresent)->Unit(benchmark::kMillisecond);

void BM_RenderOnly(benchmark::State& state) {
    Table& t = table();
    int step = 0;
    for (auto _ : state) t.view->render(0, Top + (step++ % 50), true);
}
BENCHMARK(BM_RenderOnly)->Unit(benchmark::kMillisecond);

void BM_PresentOnly(benchmark::State& state) {
    Table& t = table();
    t.view->render(0, Top, true);
    for (auto _ : state) t.present();
}
BENCHMARK(BM_PresentOnly)->Unit(benchmark::kMillisecond);

// A cursor move inside the view, including repainting what it changed on the window.
void BM_CursorMove(benchmark::State& state) {
    Table& t = table();
    t.view->render(0, Top, true);
    t.present();
    int step = 0;
    for (auto _ : state) {
        t.dirty.clear();
        ++step;
        t.view->moveCursor(step % 20, Top + (step % 40));
        QPainter painter(&t.window);
        for (const QRect& rect : t.dirty) t.view->paint(painter, rect);
    }
}
BENCHMARK(BM_CursorMove)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    table();   // build the table before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
