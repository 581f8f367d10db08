// Shared set-up of the navigation tests: a grid widget with its scroll bars, view, editor and
// navigation wired as in the main window, shown offscreen at 100 %.
#pragma once

#include "grid/Navigator.h"
#include "grid/NavigatorHost.h"
#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QGridLayout>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window around the navigation, recording what it is asked; tests set the commands they
// follow.
struct RecordingHost : NavigatorHost {
    void updateStatus(int scope) override { statusScopes.push_back(scope); }
    void markModified() override { ++modifiedCount; }
    bool returnMovesRight() const override { return returnRight; }
    void runUserKey(int digit, bool shift) override {
        if (userKey) userKey(digit, shift);
    }
    void showToolPalette(int mode, const QPoint& at) override {
        if (palette) palette(mode, at);
    }
    bool copySelection() override { return copy && copy(); }
    void pasteAtCursor() override {}
    void viewModesChanged() override {}

    std::vector<int> statusScopes;
    int modifiedCount = 0;
    bool returnRight = false;
    std::function<void(int, bool)> userKey;
    std::function<void(int, const QPoint&)> palette;
    std::function<bool()> copy;
};

class NavFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        auto* layout = new QGridLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        grid = new GridWidget(window.get());
        scrRight = new QScrollBar(Qt::Vertical, window.get());
        scrBottom = new QScrollBar(Qt::Horizontal, window.get());
        layout->addWidget(grid, 0, 0);
        layout->addWidget(scrRight, 0, 1);
        layout->addWidget(scrBottom, 1, 0);

        global = std::make_unique<CMyGlobal>();
        view = std::make_unique<CMyHyoDraw>(hyo, com);
        view->attach(1280, 1024, 0, 0, 100);
        view->setOptions(true, true, 0, 0, 0);
        grid->setView(view.get());
        QObject::connect(grid, &GridWidget::resized,
                         [this] { view->setViewSize(grid->width(), grid->height()); });
        edit = std::make_unique<CMyEdit>();
        edit->attach(grid);

        nav = std::make_unique<Navigator>(hyo, *view, *edit, *global, grid, scrRight, scrBottom, host);
        nav->installOn(grid);
        QObject::connect(scrRight, &QScrollBar::valueChanged, [this] { nav->scr_RightChange(); });
        QObject::connect(scrBottom, &QScrollBar::valueChanged, [this] { nav->scr_BottomChange(); });

        window->resize(820, 420);
        window->show();
        grid->setFocus();
        view->setViewSize(grid->width(), grid->height());
    }

    void TearDown() override {
        nav.reset();
        window.reset();
    }

    // Fills the table and shows it from the top-left corner.
    void setRows(const std::vector<std::string>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) hyo.setRow(static_cast<int>(i), rows[i]);
        hyo.setWidestRow(hyo.widestRowCount());
        scrRight->setMaximum(0);
        scrBottom->setMaximum(0);
        nav->raiseScrollRanges();
        nav->goToCell(0, 0);
    }

    // A table of n rows of `columns` cells holding "r,c".
    void setTable(int n, int columns) {
        std::vector<std::string> rows;
        for (int r = 0; r < n; ++r) {
            std::string row;
            for (int c = 0; c < columns; ++c) {
                if (c) row += '\t';
                row += std::to_string(r) + "," + std::to_string(c);
            }
            rows.push_back(row);
        }
        setRows(rows);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(grid, static_cast<Qt::Key>(key), modifiers);
    }
    void type(const char* text) { QTest::keyClicks(grid, QString::fromUtf8(text)); }

    int column() const { return view->curColumn(); }
    int row() const { return view->curRow(); }
    // Centre of a cell on screen.
    QPoint centreOf(int c, int r) const { return view->cellRect(c, r)->center(); }

    TempHome home;
    ScriptedPrompt prompt;
    CMyHyo hyo;
    CMyHyoCom com;
    std::unique_ptr<CMyGlobal> global;
    std::unique_ptr<CMyHyoDraw> view;
    std::unique_ptr<CMyEdit> edit;
    std::unique_ptr<QWidget> window;
    GridWidget* grid = nullptr;
    QScrollBar* scrRight = nullptr;
    QScrollBar* scrBottom = nullptr;
    RecordingHost host;
    std::unique_ptr<Navigator> nav;
    std::vector<int>& statusScopes = host.statusScopes;
    int& modifiedCount = host.modifiedCount;
    bool& returnRight = host.returnRight;
};
