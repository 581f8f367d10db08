// Shared set-up of the grid view tests: a small table, a view of 800 x 400 at 100 %.
#pragma once

#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class ViewFixture : public ::testing::Test {
protected:
    static constexpr int Width = 800;
    static constexpr int Height = 400;

    void SetUp() override {
        view = std::make_unique<CMyHyoDraw>(hyo, com);
        view->attach(1024, 768, 0, 0, 100);
        view->setViewSize(Width, Height);
        view->setOptions(true, true, 0, 0, 0);
        view->setUpdateHook([this](const QRect& rect) { updates.push_back(rect); });
    }

    void setRows(const std::vector<std::string>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) hyo.setRow(static_cast<int>(i), rows[i]);
        hyo.setWidestRow(hyo.widestRowCount());
    }

    // The rendered image alone, RGB without alpha.
    QRgb pixel(int x, int y) const { return view->image().pixel(x, y) & 0xffffff; }
    // What the window shows: rendered strips, grey areas and the exclusive-or overlay.
    QImage shown() const {
        QImage image(Width, Height, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        view->paint(painter, image.rect());
        return image;
    }
    static QRgb rgb(int r, int g, int b) { return qRgb(r, g, b) & 0xffffff; }
    static QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

    // Left edge and top of a cell at 100 % with the row-number column at its minimum.
    static int cellX(int column) { return 40 + 64 * column; }
    static int cellY(int row) { return 16 + 16 * row; }

    // Counts pixels in [x1, x2) x [y1, y2) of the rendered image that have the colour.
    int countColour(int x1, int y1, int x2, int y2, QRgb colour) const {
        int count = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (pixel(x, y) == colour) ++count;
        return count;
    }
    // Counts pixels that are neither white nor the given background.
    int countInk(int x1, int y1, int x2, int y2, QRgb background = 0xffffff) const {
        int count = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (pixel(x, y) != background) ++count;
        return count;
    }

    CMyHyo hyo;
    CMyHyoCom com;
    std::unique_ptr<CMyHyoDraw> view;
    std::vector<QRect> updates;
};
