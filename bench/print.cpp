// Printing speed: a 10,000-row, 20-column table split into A4 pages at 1200 dpi and drawn into
// a PDF file - the split alone, one page drawn, and the whole job per page.
#include "print/CMyHyoPrn.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int Rows = 10000;
constexpr int Columns = 20;
constexpr double Scale = 1200 / 96.0;   // printer pixels per screen pixel

// Every cell holds text; every third is coloured, every seventh row has a row colour, some
// cells hold a line break or double-byte text, column 3 holds numbers, column 6 is often empty
// so that its left neighbour overflows into it.
struct Table {
    CMyHyo hyo;
    CMyHyoCom com;

    Table() {
        hyo.journal().setRecording(false);
        std::string row;
        for (int r = 0; r < Rows; ++r) {
            row.clear();
            if (r % 7 == 0) row += std::string{'\x07', '\x02', '\x05', static_cast<char>(r % 16)};
            for (int c = 0; c < Columns; ++c) {
                if (c) row += '\t';
                if ((r + c) % 3 == 0) row += std::string{'\x02', '\x05', static_cast<char>(c % 16)};
                if (c == 6 && r % 2 == 0) continue;
                if (c == 5) row += "a longer text that runs on";
                row += std::to_string(r * 31 + c);
                if (c % 9 == 4) row += " \x93\xfa\x96\x7b\x8c\xea";
                if (c % 11 == 7) row += "\r\nline";
            }
            hyo.setRow(r, row);
        }
        hyo.setWidestRow(Columns);
        hyo.setColumnKind(3, 1, 1);
    }
};

Table& table() {
    static Table instance;
    return instance;
}

std::unique_ptr<QPrinter> pdfPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QDir::temp().filePath("vexil-bench-print.pdf"));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setFullPage(true);
    return printer;
}

const PageMargins Margins{472, 472, 472, 472};   // 10 mm at 1200 dpi

void BM_Paginate(benchmark::State& state) {
    Table& t = table();
    auto printer = pdfPrinter();
    CMyHyoPrn pages(t.hyo, t.com);
    for (auto _ : state) {
        pages.layoutPage(printer.get(), printer->width(), printer->height(), Margins, Scale, Scale);
        benchmark::DoNotOptimize(pages.pageCount());
    }
    state.counters["pages"] = pages.pageCount();
}
BENCHMARK(BM_Paginate)->Unit(benchmark::kMillisecond);

// Drawing pages one after another into an open PDF job.
void BM_DrawPage(benchmark::State& state) {
    Table& t = table();
    auto printer = pdfPrinter();
    CMyHyoPrn pages(t.hyo, t.com);
    pages.layoutPage(printer.get(), printer->width(), printer->height(), Margins, Scale, Scale);
    QPainter painter(printer.get());
    int page = 0;
    for (auto _ : state) {
        if (page > 0) printer->newPage();
        pages.drawPage(painter, page % pages.pageCount() + 1);
        ++page;
    }
    painter.end();
}
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMillisecond);

// The whole job - split, every page, writing the file - reported per page.
void BM_PrintWholeTable(benchmark::State& state) {
    Table& t = table();
    int count = 0;
    for (auto _ : state) {
        auto printer = pdfPrinter();
        CMyHyoPrn pages(t.hyo, t.com);
        pages.layoutPage(printer.get(), printer->width(), printer->height(), Margins, Scale, Scale);
        count = pages.pageCount();
        QPainter painter(printer.get());
        for (int page = 1; page <= count; ++page) {
            if (page > 1) printer->newPage();
            pages.drawPage(painter, page);
        }
        painter.end();
    }
    state.counters["pages"] = count;
    // CPU seconds per page ("4.2m" reads 4.2 ms).
    state.counters["page_time"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate |
                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintWholeTable)->Unit(benchmark::kMillisecond)->Iterations(2);

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
