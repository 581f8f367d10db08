// Entry point of the Qt test executables: one QApplication on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef VEXIL_TEST_SCALE_FACTOR
    ::setenv("QT_SCALE_FACTOR", VEXIL_TEST_SCALE_FACTOR, 1);
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
