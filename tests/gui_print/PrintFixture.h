// Shared set-up of the printing tests: tables built in the store, printing into PDF files, and
// reading the files back with poppler's pdfinfo, pdftotext and pdftoppm.
#pragma once

#include "support_gui/WhenDialogShows.h"

#include "platform/core/CodePage.h"
#include "print/CMyPrint.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoCom.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class PrintFixture : public ::testing::Test {
protected:
    // Rows are UTF-8 with TAB between cells; the store gets CP932.
    void setRows(const std::vector<std::string>& rows) {
        for (size_t i = 0; i < rows.size(); ++i)
            hyo.setRow(static_cast<int>(i), CodePage::toCp932(rows[i]));
        hyo.setWidestRow(hyo.widestRowCount());
    }
    void setWidths(const std::vector<int>& widths) {
        for (size_t c = 0; c < widths.size(); ++c) hyo.setColumnWidth(static_cast<int>(c), widths[c]);
    }
    // `count` rows of `columns` cells "r<row>c<column>".
    void fillTable(int count, int columns) {
        std::vector<std::string> rows;
        for (int r = 0; r < count; ++r) {
            std::string row;
            for (int c = 0; c < columns; ++c)
                row += (c ? "\t" : "") + ("r" + std::to_string(r) + "c" + std::to_string(c));
            rows.push_back(row);
        }
        setRows(rows);
    }

    // Prints without a dialog into pdf(); returns printTable's result.
    int printToPdf(bool gridLines = true, double factor = 1.0) {
        global.setPrintKind(2);
        print.ensureDefaults();
        print.setup().printerName.clear();
        print.setup().outputFile = QString::fromStdString(pdf());
        return print.printTable(&owner, hyo, com, gridLines, factor);
    }
    std::string pdf() const { return home.file("out.pdf"); }

    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForStarted())
            ADD_FAILURE() << program.toStdString() << " is missing (scripts/deps installs poppler-utils)";
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    int pdfPages() const {
        const QString info = run("pdfinfo", {QString::fromStdString(pdf())});
        return QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    }
    // "595.276 x 841.89" style page size in points, rounded.
    QSize pdfPageSize() const {
        const QString info = run("pdfinfo", {QString::fromStdString(pdf())});
        const auto m = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
        return QSize(qRound(m.captured(1).toDouble()), qRound(m.captured(2).toDouble()));
    }
    QString pageText(int page) const {
        return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page),
                                 "-layout", QString::fromStdString(pdf()), "-"});
    }
    // Left and right edge of a word on a page, in printer pixels (1200 per inch).
    std::pair<int, int> wordSpan(int page, const QString& word) const {
        const QString html = run("pdftotext", {"-f", QString::number(page), "-l",
                                               QString::number(page), "-bbox",
                                               QString::fromStdString(pdf()), "-"});
        const auto m = QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>" +
                                          QRegularExpression::escape(word) + "<").match(html);
        if (!m.hasMatch()) return {-1, -1};
        return {qRound(m.captured(1).toDouble() * 1200 / 72), qRound(m.captured(2).toDouble() * 1200 / 72)};
    }
    // A piece of a page rasterised at the printer's 1200 dpi, so one image pixel is one
    // printer pixel.
    QImage raster(int page, int x, int y, int w, int h) const {
        const std::string stem = home.file("raster");
        run("pdftoppm", {"-f", QString::number(page), "-l", QString::number(page), "-r", "1200",
                         "-x", QString::number(x), "-y", QString::number(y), "-W",
                         QString::number(w), "-H", QString::number(h), "-png", "-singlefile",
                         QString::fromStdString(pdf()), QString::fromStdString(stem)});
        QImage image(QString::fromStdString(stem + ".png"));
        QFile::remove(QString::fromStdString(stem + ".png"));
        return image;
    }
    static QRgb rgb(int r, int g, int b) { return qRgb(r, g, b) & 0xffffff; }
    static QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    CMyHyoCom com;
    CMyPrint print{global};
    QWidget owner;
};

// Geometry at 1200 dpi with 10 mm margins and a 96 dpi screen: table pixels times 12.5.
constexpr int Margin = 472;          // trunc(1000 hundredths of a mm * 1200 / 2540)
constexpr double Scale = 12.5;
