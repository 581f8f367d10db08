// The built vexil as a real process: on Xvfb with a screenshot, and started as a second instance.
#include "app/TfrmMain.h"

#include "platform/qt/QtShellHandler.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

QString binary() { return QString::fromLocal8Bit(qgetenv("VEXIL_BINARY")); }

QString sample() {
    return QString::fromLocal8Bit(qgetenv("VEXIL_SOURCE_DIR")) +
           QStringLiteral("/samples/商品在庫.csv");
}

bool haveBinary() {
    const QFileInfo info(binary());
    return !binary().isEmpty() && info.isFile() && info.isExecutable();
}

// Distinct colours in a sample of the image's pixels: a blank screen has one.
int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    return int(colours.size());
}

class XvfbServer {
public:
    bool start(const QString& size = QStringLiteral("1024x700x24"), int displayOffset = 0) {
        display = QStringLiteral(":%1").arg(140 + displayOffset +
                                            (QCoreApplication::applicationPid() % 50));
        server.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                              size,
                                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server.waitForStarted(5000)) return false;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket) && !deadline.hasExpired()) QTest::qWait(50);
        return QFileInfo::exists(socket);
    }
    ~XvfbServer() {
        server.terminate();
        server.waitForFinished(3000);
    }
    QString display;
    QProcess server;
};

} // namespace

TEST(Smoke, WindowShowsTheSampleOnXvfbAndClosesCleanly) {
    if (!haveBinary()) GTEST_SKIP() << "VEXIL_BINARY is not built";
    if (qgetenv("VEXIL_SOURCE_DIR").isEmpty()) GTEST_SKIP() << "VEXIL_SOURCE_DIR is not set";
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("import").isEmpty())
        GTEST_SKIP() << "Xvfb or ImageMagick import is not installed";
    TempHome home;
    XvfbServer x;
    ASSERT_TRUE(x.start());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    // The test closes the program once it has seen the window, however long drawing took; the
    // timer only ends a program that never got that far.
    const std::string quitFile = home.file("quit-now");
    env.insert("VEXIL_QUIT_WHEN_FILE", QString::fromStdString(quitFile));
    env.insert("VEXIL_QUIT_AFTER_MS", "240000");
    // The X libraries keep caches for the life of the process; LeakSanitizer would call them leaks.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    QProcess vexil;
    vexil.setProcessEnvironment(env);
    vexil.start(binary(), {sample()});
    ASSERT_TRUE(vexil.waitForStarted(5000));

    // Photograph the screen until the window has been drawn (or the program ended).
    const QString shot = QString::fromStdString(home.file("screen.png"));
    int colours = 0;
    QDeadlineTimer deadline(180000);
    while (colours < 8 && !deadline.hasExpired() && vexil.state() == QProcess::Running) {
        QTest::qWait(300);
        QProcess import;
        import.setProcessEnvironment(env);
        import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        import.waitForFinished(10000);
        colours = colourCount(QImage(shot));
    }
    EXPECT_GE(colours, 8) << "the screenshot stayed blank";

    home.write("quit-now", "");
    ASSERT_TRUE(vexil.waitForFinished(60000));
    EXPECT_EQ(vexil.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vexil.exitCode(), 0) << vexil.readAllStandardError().toStdString();
    // Closing wrote the settings with the window place.
    EXPECT_TRUE(std::filesystem::exists(home.file("vexil.ini")));
}

TEST(Smoke, StartInstanceRunsTheProgramWithTheFileAndType) {
    if (!haveBinary()) GTEST_SKIP() << "VEXIL_BINARY is not built";
    TempHome home;
    ScriptedPrompt prompt;
    QtShellHandler shell;
    Shell::install(&shell);
    const std::string data = home.write("two.csv", "1,2\n");
    {
        TfrmMain window({});
        window.setInstanceProgram(binary().toStdString());
        // The child inherits our environment: offscreen, this VEXIL_HOME, and a quick exit.
        qputenv("VEXIL_QUIT_AFTER_MS", "500");
        ASSERT_TRUE(window.startInstance({data, "-t1"}));
        qunsetenv("VEXIL_QUIT_AFTER_MS");
        // startInstance saved the settings first; the child writes them again when it closes.
        ASSERT_TRUE(std::filesystem::exists(home.file("vexil.ini")));
        std::filesystem::remove(home.file("vexil.ini"));
        QDeadlineTimer deadline(30000);
        while (!std::filesystem::exists(home.file("vexil.ini")) && !deadline.hasExpired())
            QTest::qWait(100);
        EXPECT_TRUE(std::filesystem::exists(home.file("vexil.ini"))) << "the second instance never closed";
    }
    Shell::install(nullptr);
}

// --version is answered on the terminal before any window system is needed.
TEST(Smoke, VersionIsPrintedWithoutADisplay) {
    if (!haveBinary()) GTEST_SKIP() << "VEXIL_BINARY is not built";
    QProcess vexil;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(name);
    vexil.setProcessEnvironment(environment);
    vexil.start(binary(), {QStringLiteral("--version")});
    ASSERT_TRUE(vexil.waitForFinished(30000));
    EXPECT_EQ(vexil.exitCode(), 0);
    EXPECT_EQ(vexil.readAllStandardOutput(), QByteArray("vexil 1.52\n"));
}

// With the screen scaled by 2 the grid is rendered at the device resolution: an image drawn at
// 1x and enlarged would consist of uniform 2 x 2 blocks only, a sharp one has glyph and line
// edges inside them.
TEST(Smoke, ScaledScreenShowsTheGridAtDeviceResolution) {
    if (!haveBinary()) GTEST_SKIP() << "VEXIL_BINARY is not built";
    if (qgetenv("VEXIL_SOURCE_DIR").isEmpty()) GTEST_SKIP() << "VEXIL_SOURCE_DIR is not set";
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("import").isEmpty())
        GTEST_SKIP() << "Xvfb or ImageMagick import is not installed";
    TempHome home;
    XvfbServer x;
    ASSERT_TRUE(x.start(QStringLiteral("1600x1100x24"), 50));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("VEXIL_QUIT_AFTER_MS", "6000");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    QProcess vexil;
    vexil.setProcessEnvironment(env);
    vexil.start(binary(), {sample()});
    ASSERT_TRUE(vexil.waitForStarted(5000));

    const QString shot = QString::fromStdString(home.file("screen.png"));
    QImage image;
    QDeadlineTimer deadline(15000);
    while (colourCount(image) < 8 && !deadline.hasExpired() && vexil.state() == QProcess::Running) {
        QTest::qWait(300);
        QProcess import;
        import.setProcessEnvironment(env);
        import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        import.waitForFinished(10000);
        image = QImage(shot);
    }
    ASSERT_GE(colourCount(image), 8) << "the screenshot stayed blank";
    // Logical (60..700) x (120..300) lies inside the grid of the window at the top-left corner.
    int blocks = 0, mixed = 0;
    for (int y = 240; y < 600; y += 2)
        for (int x = 120; x < 1400; x += 2) {
            ++blocks;
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                ++mixed;
        }
    EXPECT_GT(mixed, blocks / 50) << mixed << " of " << blocks << " blocks hold detail";
    ASSERT_TRUE(vexil.waitForFinished(30000));
    EXPECT_EQ(vexil.exitCode(), 0) << vexil.readAllStandardError().toStdString();
}
