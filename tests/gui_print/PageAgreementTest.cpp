// The preview is a promise about the paper: one page drawn by the preview and the same page
// printed into a PDF and rasterised at the screen's resolution agree at every data size and in
// both orientations - where each cell's text lies, the grid lines, the rules of the title strip.
#include "PrintFixture.h"

#include "print/CMyHyoPrn.h"
#include "print/TfrmPreview.h"

#include <QAction>
#include <QFontMetricsF>
#include <QPainter>

#include <tuple>

#include <memory>

namespace {

constexpr int Columns = 5;
constexpr int Rows = 8;
constexpr int Dpi = 96;   // the offscreen screen's resolution: the preview at 100 % zoom

class PageAgreement : public PrintFixture {
protected:
    void SetUp() override {
        std::vector<std::string> rows{"A\tB\tC\tD\tE"};
        // Column 1 is a number column; the half-width katakana of row 0 are wider than their
        // column and meet a cell with text, so they must stop at the border.
        rows.push_back("r0c0\t12345\tｱｯｹｼｸﾞﾝｱｯｹｼｸﾞﾝ\tnext\t漢字");
        for (int r = 1; r < Rows; ++r) {
            std::string row;
            for (int c = 0; c < Columns; ++c)
                row += (c ? "\t" : "") + (c == 1 ? std::to_string(r * 7) : "r" + std::to_string(r) + "c" + std::to_string(c));
            rows.push_back(row);
        }
        setRows(rows);
        ASSERT_EQ(hyo.takeHeaderRow(), 1);
        hyo.setColumnKind(1, 1, 1);
        global.setPrintKind(2);
        print.ensureDefaults();
        print.setup().printerName.clear();
        print.setup().outputFile = QString::fromStdString(pdf());
    }

    // The preview's page and the printed page at the screen's resolution.
    std::pair<QImage, QImage> bothPages(int percent) {
        auto preview = std::make_unique<TfrmPreview>(&owner, print, hyo, com, global);
        preview->resize(600, 500);
        preview->show();
        preview->findChild<QAction*>(QString("mnus_PaperSize%1").arg(percent))->trigger();
        preview->findChild<QAction*>("cmd_Print")->trigger();
        const std::string stem = home.file("paper");
        run("pdftoppm", {"-r", QString::number(Dpi), "-png", "-singlefile",
                         QString::fromStdString(pdf()), QString::fromStdString(stem)});
        words = run("pdftotext", {"-bbox", QString::fromStdString(pdf()), "-"});
        return {preview->pageImage(), QImage(QString::fromStdString(stem + ".png"))};
    }
    // The page as the preview and as the printer lay it out: cell edges of each at `Dpi`.
    void layout(int percent) {
        const PageFrame frame = print.previewFrame(QPointF(Dpi, Dpi), percent / 100.0);
        screenPages.layoutFrame(nullptr, frame, QPointF(Dpi, Dpi));
        paperPages.layoutFrame(nullptr, frame, QPointF(1200, 1200));
    }
    static QRectF cell(const CMyHyoPrn& pages, double ratio, int column, int row) {
        const auto edge = [](int cells, int size, double scale) {
            return static_cast<int>(cells * size * scale);
        };
        const double x = pages.dataLeft() + edge(column, 64, pages.scaleX());
        const double y = pages.dataTop() + edge(row, 16, pages.scaleY());
        return QRectF(x / ratio, y / ratio,
                      (pages.dataLeft() + edge(column + 1, 64, pages.scaleX()) - x) / ratio,
                      (pages.dataTop() + edge(row + 1, 16, pages.scaleY()) - y) / ratio);
    }
    QRectF screenCell(int column, int row) const { return cell(screenPages, 1, column, row); }
    QRectF paperCell(int column, int row) const { return cell(paperPages, 1200.0 / Dpi, column, row); }
    // Bounding box of the dark pixels inside a cell, its grid lines (which on paper are 0.25 mm
    // wide and smeared over two pixels) left out.
    static QRect ink(const QImage& image, const QRectF& cell) {
        const int left = static_cast<int>(cell.left()) + 2, right = static_cast<int>(cell.right()) - 2;
        const int top = static_cast<int>(cell.top()) + 1, bottom = static_cast<int>(cell.bottom()) - 2;
        QRect box;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (qGray(image.pixel(x, y)) < 200) box |= QRect(x, y, 1, 1);
        return box;
    }
    // A line passes through (x, y): a pixel of it or next to it is dark.
    static bool line(const QImage& image, double x, double y, bool across) {
        int darkest = 255;
        for (int d = -1; d <= 1; ++d)
            darkest = std::min(darkest, qGray(across ? image.pixel(int(x) + d, int(y))
                                                     : image.pixel(int(x), int(y) + d)));
        return darkest < 170;
    }
    // Where the preview sets a cell's text: 3 table pixels in, or a number 1 pixel from the
    // right, at the page's scale.
    std::pair<double, double> laidOut(int column, int row) {
        const QRectF box = screenCell(column, row);
        const double width = QFontMetricsF(screenPages.font()).horizontalAdvance(text(column, row)) *
                             screenPages.scaleX();
        const double left = column == 1 ? box.right() - CMyHyoPrn::TextRight * screenPages.scaleX() - width
                                        : box.left() + CMyHyoPrn::TextLeft * screenPages.scaleX();
        return {left, left + width};
    }
    // Left and right edge of a word in the PDF, in pixels at `Dpi`.
    std::pair<double, double> wordEdges(const QString& word) const {
        const auto m = QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>" +
                                          QRegularExpression::escape(word) + "<").match(words);
        if (!m.hasMatch()) return {-1, -1};
        return {m.captured(1).toDouble() * Dpi / 72, m.captured(2).toDouble() * Dpi / 72};
    }
    QString text(int column, int row) {
        return QString::fromStdString(CodePage::toUtf8(hyo.cellString(column, row)));
    }
    // With VEXIL_PRINT_COMPARE naming a PNG file, the two pages are kept there side by side:
    // the preview on the left, the printed page on the right.
    static void sideBySide(const QImage& screen, const QImage& paper) {
        const QString path = qEnvironmentVariable("VEXIL_PRINT_COMPARE");
        if (path.isEmpty()) return;
        QImage both(screen.width() + 16 + paper.width(), std::max(screen.height(), paper.height()),
                    QImage::Format_RGB32);
        both.fill(QColor(128, 128, 128));
        QPainter painter(&both);
        painter.drawImage(0, 0, screen);
        painter.drawImage(screen.width() + 16, 0, paper);
        painter.end();
        EXPECT_TRUE(both.save(path));
    }

    QString words;   // the printed page's words with their boxes
    CMyHyoPrn screenPages{hyo, com};
    CMyHyoPrn paperPages{hyo, com};
};

TEST_F(PageAgreement, PreviewAndPaperShowTheSamePageAtEveryDataSize) {
    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        print.setup().orientation = orientation;
        for (int percent = 100; percent >= 40; percent -= 10) {
            SCOPED_TRACE(QString("%1 %, orientation %2").arg(percent).arg(int(orientation)).toStdString());
            const auto [screen, paper] = bothPages(percent);
            ASSERT_FALSE(paper.isNull());
            layout(percent);
            for (int row = 0; row < Rows; ++row) {
                for (int column = 0; column < Columns; ++column) {
                    SCOPED_TRACE(QString("cell %1,%2").arg(row).arg(column).toStdString());
                    const QRectF onScreen = screenCell(column, row), onPaper = paperCell(column, row);
                    const QRect shown = ink(screen, onScreen), printed = ink(paper, onPaper);
                    ASSERT_FALSE(shown.isEmpty() || printed.isEmpty());
                    // The same text in the same place (the two truncate their edges apart by
                    // up to two pixels), and never past its cell.
                    EXPECT_NEAR(shown.left(), printed.left(), 2);
                    EXPECT_NEAR(shown.right(), printed.right(), 2);
                    EXPECT_NEAR(shown.top(), printed.top(), 2);
                    EXPECT_NEAR(shown.bottom(), printed.bottom(), 2);
                    EXPECT_NEAR(shown.width(), printed.width(), 2);
                    EXPECT_LE(printed.right(), onPaper.right() - 2);
                    if (row == 0 && column == 2) continue;   // cut at the border: no whole word
                    const auto [left, right] = wordEdges(text(column, row));
                    const auto [layoutLeft, layoutRight] = laidOut(column, row);
                    EXPECT_NEAR(left, layoutLeft, 2);
                    EXPECT_NEAR(right, layoutRight, 2);
                    // No ink before the cell's own text: the text left of it stopped at the border.
                    if (column != 1) EXPECT_GE(std::min(shown.left(), printed.left()), int(layoutLeft));
                    // The grid line at the cell's left edge and the one along its bottom.
                    for (const auto& [image, box] : {std::pair(&screen, onScreen), std::pair(&paper, onPaper)}) {
                        EXPECT_TRUE(line(*image, box.left(), box.center().y(), true));
                        EXPECT_TRUE(line(*image, box.center().x(), box.bottom() - 0.5, false));
                    }
                }
            }
            // The rules of the title strip run across the printed columns and stop there.
            for (const auto& [image, pages, ratio] :
                 {std::tuple(&screen, &screenPages, 1.0), std::tuple(&paper, &paperPages, 1200.0 / Dpi)}) {
                const double left = pages->dataLeft() / ratio;
                const double last = cell(*pages, ratio, Columns - 1, 0).right();
                const double top = (pages->dataTop() - pages->headerStrip()) / ratio;
                for (double y : {top - 0.5, pages->dataTop() / ratio - 0.5}) {
                    EXPECT_TRUE(line(*image, left + 1, y, false) && line(*image, last, y, false)) << y;
                    EXPECT_FALSE(line(*image, last + 4, y, false)) << y;
                }
            }
            if (percent == 70 && orientation == QPageLayout::Portrait) sideBySide(screen, paper);
        }
    }
}

} // namespace
