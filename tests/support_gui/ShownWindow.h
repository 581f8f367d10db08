// A main window as the user meets it: shown, active, the grid focused so that shortcuts reach
// the menu items and keys reach the grid.
#pragma once

#include "app/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<TfrmMain> openShownWindow(const std::string& path) {
    auto w = std::make_unique<TfrmMain>(std::vector<std::string>{path});
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->gridWidget().setFocus();
    return w;
}

// The menu item or toolbar action of that object name; the test fails when there is none.
inline QAction* findAction(QWidget& window, const char* name) {
    QAction* a = window.findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}
