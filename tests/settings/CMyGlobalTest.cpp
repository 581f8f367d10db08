// Tests of the settings object: defaults, vexil.ini keys, checks, window places and the file.
#include "settings/CMyGlobal.h"

#include "FileLimit.h"
#include "platform/core/HelpViewer.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/Shell.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int screenW = 1920;
const int screenH = 1080;

ProfileFile savedFile(const TempHome& home) {
    ProfileFile ini;
    ini.load(home.file("vexil.ini"));
    return ini;
}

const char* const optionKeyNames[] = {
    "MAKEFD", "MAKEFDLISTMAX", "DBLKIND", "LINECUR_UMU", "CELLOVER", "UNDOSIZE", "SCALE",
    "CARD_SCALE", "SIMPLE_CALC", "ENDLINE", "KG_LINE", "KG_LINE_IDX", "PRINT_KIND",
    "F_DBL_RETONLY", "CP_DBL_RETONLY", "CELL_RET_VIEW", "TAB_RET_WARNING", "SEL_COLORNO",
    "R_MOZICODE", "MOZICODE", "RETCODE", "BOM", "MAXROW"};

} // namespace

TEST(CMyGlobalDefaults, FirstStartTakesTheTableDefaults) {
    TempHome home;
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    EXPECT_FALSE(g.isMaximized(mainWindow));
    WindowPlace main = g.windowPlace(mainWindow);
    EXPECT_EQ(main.left, 0);
    EXPECT_EQ(main.top, 0);
    EXPECT_EQ(main.width, 780);
    EXPECT_EQ(main.height, 510);
    EXPECT_EQ(g.windowWidth(cardWindow), 462);
    EXPECT_EQ(g.windowHeight(cardWindow), 600);
    EXPECT_EQ(g.cardColumnWidth(0), 100);
    EXPECT_EQ(g.cardColumnWidth(1), 250);
    EXPECT_FALSE(g.exportHeader());
    EXPECT_EQ(g.exportExtension(), "");
    EXPECT_EQ(g.exportKind(), 1);
    EXPECT_EQ(g.colourFileMode(), 1);
    EXPECT_EQ(g.colourListMax(), 200);
    EXPECT_EQ(g.undoSize(), 64000000);   // 64,000 KB: a whole column of a large table undoes
    EXPECT_EQ(g.viewScale(), 100);
    EXPECT_TRUE(g.showLineCursor());
    EXPECT_TRUE(g.fileQuoteLineBreakOnly());
    EXPECT_EQ(g.selectionColour(), 1);
    EXPECT_EQ(g.readEncoding(), -1);
    EXPECT_EQ(g.startEncoding(), 0);
    EXPECT_EQ(g.startLineEnd(), 0);
    EXPECT_TRUE(g.startBom());
    EXPECT_DOUBLE_EQ(g.printScale(), 1.0);
    EXPECT_TRUE(g.printGrid());
    EXPECT_EQ(g.settingsFolder(), home.path() + "/");
}

TEST(CMyGlobalDefaults, ValuesBeforeTheFileIsRead) {
    TempHome home;
    CMyGlobal g;
    WindowPlace main = g.windowPlace(mainWindow);
    EXPECT_EQ(main.left, 0);
    EXPECT_EQ(main.top, 0);
    EXPECT_EQ(main.width, 780);
    EXPECT_EQ(main.height, 350);
    EXPECT_EQ(g.windowWidth(cardWindow), 0);
    EXPECT_EQ(g.undoSize(), 0);
    EXPECT_EQ(g.exportKind(), 1);
    EXPECT_EQ(g.colourListMax(), 200);
    EXPECT_EQ(g.viewScale(), 100);
    EXPECT_EQ(g.cardScale(), 100);
    EXPECT_EQ(g.readEncoding(), -1);
    EXPECT_TRUE(g.startBom());
    EXPECT_TRUE(g.simpleCalc());
    EXPECT_TRUE(g.cellOverflow());
    EXPECT_TRUE(g.copyQuoteLineBreakOnly());
    EXPECT_TRUE(g.showCellLineBreaks());
    EXPECT_TRUE(g.lineBreakCopyWarning());
    EXPECT_FALSE(g.returnMovesRight());
    EXPECT_EQ(g.showEndLine() + g.alternateRows() + g.alternateColour() + g.printKind(), 0);
    EXPECT_EQ(g.cardColumnWidth(0), 100);
    EXPECT_EQ(g.cardColumnWidth(1), 250);
    EXPECT_DOUBLE_EQ(g.previewZoom(), 1.0);
    EXPECT_EQ(g.recentFile(0), "");
}

TEST(CMyGlobalDefaults, SaveWithoutOptionsWritesOnlyPlacesExportUserKeysAndRet) {
    TempHome home;
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    ASSERT_TRUE(g.saveSettings(false));
    ProfileFile ini = savedFile(home);
    for (const char* section : {"FORM", "FORM1", "FORM2"})
        for (const char* key : {"MAX", "LEFT", "TOP", "WIDTH", "HEIGHT"})
            EXPECT_TRUE(ini.hasKey(section, key)) << section << " " << key;
    EXPECT_TRUE(ini.hasKey("FORM2", "COL_W1"));
    EXPECT_TRUE(ini.hasKey("EXP", "KAKU"));
    EXPECT_TRUE(ini.hasKey("OPT", "USER_KEY9"));
    EXPECT_TRUE(ini.hasKey("OPT", "USER_SKEY0"));
    EXPECT_EQ(ini.readString("OPT", "RET", "?"), "0");
    for (const char* key : optionKeyNames) EXPECT_FALSE(ini.hasKey("OPT", key)) << key;
    EXPECT_EQ(ini.readInt("FORM", "HEIGHT", 0), 510);

    ASSERT_TRUE(g.saveSettings(true));
    ini = savedFile(home);
    for (const char* key : optionKeyNames) EXPECT_TRUE(ini.hasKey("OPT", key)) << key;
    EXPECT_EQ(ini.readString("OPT", "BOM", "?"), "1");
}

TEST(CMyGlobalDefaults, ZoomChangedDuringTheRunIsKeptByASaveWithoutOptions) {
    TempHome home;
    {
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        g.setViewScale(150);   // what the zoom keys do
        ASSERT_TRUE(g.saveSettings(false));
        ProfileFile ini = savedFile(home);
        EXPECT_EQ(ini.readInt("OPT", "SCALE", 0), 150);
        EXPECT_FALSE(ini.hasKey("OPT", "UNDOSIZE"));   // the other options stay unwritten
    }
    CMyGlobal again;
    again.loadSettings(screenW, screenH);
    EXPECT_EQ(again.viewScale(), 150);
}

TEST(CMyGlobalLoad, AnOldSettingsFileKeepsItsUndoSizeAndANewOneGetsTheLargeDefault) {
    TempHome home;
    home.write("vexil.ini", "[OPT]\r\nUNDOSIZE=1000000\r\n");
    {
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        EXPECT_EQ(g.undoSize(), 1000000);
        ASSERT_TRUE(g.saveSettings(true));
        EXPECT_EQ(savedFile(home).readInt("OPT", "UNDOSIZE", 0), 1000000);
    }
    home.write("vexil.ini", "[OPT]\r\nSCALE=120\r\n");
    CMyGlobal fresh;
    fresh.loadSettings(screenW, screenH);
    EXPECT_EQ(fresh.undoSize(), 64000000);
    ASSERT_TRUE(fresh.saveSettings(true));
    EXPECT_EQ(savedFile(home).readInt("OPT", "UNDOSIZE", 0), 64000000);
}

TEST(CMyGlobalLoad, ClampsWindowPlacesToTheScreenAndChecksOptions) {
    TempHome home;
    home.write("vexil.ini", "[FORM]\r\nLEFT=5000\r\nTOP=-50\r\n[FORM1]\r\nTOP=2000\r\n"
                            "[OPT]\r\nSCALE=30\r\nCARD_SCALE=500\r\nMAKEFDLISTMAX=5\r\n"
                            "DBLKIND=7\r\nUNDOSIZE=-3\r\nBOM=5\r\n");
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    EXPECT_EQ(g.windowLeft(mainWindow), 1720);
    EXPECT_EQ(g.windowTop(mainWindow), -50);
    EXPECT_EQ(g.windowTop(previewWindow), 880);
    EXPECT_EQ(g.viewScale(), 100);
    EXPECT_EQ(g.cardScale(), 100);
    EXPECT_EQ(g.colourListMax(), 10);
    EXPECT_EQ(g.quoteKind(), 0);
    EXPECT_EQ(g.undoSize(), -3);         // not checked on reading
    EXPECT_TRUE(g.startBom());

    home.write("vexil.ini", "[OPT]\nMAKEFDLISTMAX=5000\n");
    CMyGlobal tiny;
    tiny.loadSettings(100, 100);          // a screen smaller than the margin
    EXPECT_EQ(tiny.colourListMax(), 999);
    EXPECT_EQ(tiny.windowLeft(mainWindow), 0);
}

TEST(CMyGlobalLoad, TheRowOptionTakesOnlyItsRange) {
    TempHome home;
    const struct { const char* stored; int32_t want; } cases[] = {
        {"", 500000}, {"499999", 500000}, {"500000", 500000}, {"3000000", 3000000},
        {"10000000", 10000000}, {"10000001", 500000}, {"-1", 500000}};
    for (const auto& c : cases) {
        home.write("vexil.ini", std::string("[OPT]\nMAXROW=") + c.stored + "\n");
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        EXPECT_EQ(g.maxRows(), c.want) << c.stored;
    }
    CMyGlobal g;
    g.setMaxRows(2000000);
    ASSERT_TRUE(g.saveSettings(true));
    EXPECT_EQ(savedFile(home).readInt("OPT", "MAXROW", 0), 2000000);
}

TEST(CMyGlobalLoad, KakuOfFiveCharactersIsIgnored) {
    TempHome home;
    home.write("vexil.ini", "[EXP]\nKAKU=html\n");
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    EXPECT_EQ(g.exportExtension(), "html");
    home.write("vexil.ini", "[EXP]\nKAKU=jpeg2\n");
    CMyGlobal h;
    h.loadSettings(screenW, screenH);
    EXPECT_EQ(h.exportExtension(), "");
    // Characters, not bytes: four UTF-8 characters of 12 bytes load, five do not.
    home.write("vexil.ini", "[EXP]\nKAKU=データ表\n");
    CMyGlobal wide;
    wide.loadSettings(screenW, screenH);
    EXPECT_EQ(wide.exportExtension(), "データ表");
    home.write("vexil.ini", "[EXP]\nKAKU=データ表示\n");
    CMyGlobal wider;
    wider.loadSettings(screenW, screenH);
    EXPECT_EQ(wider.exportExtension(), "");
}

TEST(CMyGlobalLoad, BrokenFilesGiveTheDefaults) {
    TempHome home;
    const char raw[] = "\xff\xfe[\0OPT]\nSCALE=2\0" "00\n[FORM\nLEFT=";
    for (std::string bytes : {std::string(), std::string(raw, sizeof raw - 1),
                              std::string("[OPT]\nSCA")}) {
        home.write("vexil.ini", bytes);
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        EXPECT_EQ(g.viewScale(), 100);
        EXPECT_EQ(g.windowWidth(mainWindow), 780);
    }
}

TEST(CMyGlobalSetters, CheckingSettersClampOrIgnore) {
    TempHome home;
    CMyGlobal g;
    g.setColourListMax(9);
    EXPECT_EQ(g.colourListMax(), 10);
    g.setColourListMax(1000);
    EXPECT_EQ(g.colourListMax(), 999);
    g.setColourListMax(500);
    EXPECT_EQ(g.colourListMax(), 500);
    g.setViewScale(400);
    g.setViewScale(401);
    g.setViewScale(49);
    EXPECT_EQ(g.viewScale(), 400);
    g.setCardScale(50);
    g.setCardScale(-1);
    EXPECT_EQ(g.cardScale(), 50);
    g.setQuoteKind(3);
    g.setQuoteKind(5);
    g.setQuoteKind(-1);
    EXPECT_EQ(g.quoteKind(), 3);
    g.setQuoteKind(4);   // as read
    EXPECT_EQ(g.quoteKind(), 4);
    g.setPrintScale(0.1);
    EXPECT_DOUBLE_EQ(g.printScale(), 0.2);
    g.setPrintScale(1.5);
    EXPECT_DOUBLE_EQ(g.printScale(), 1.5);
    g.setPrintScale(std::nan(""));
    EXPECT_DOUBLE_EQ(g.printScale(), 0.2);
    g.setPreviewZoom(-2);
    EXPECT_DOUBLE_EQ(g.previewZoom(), 0.2);
}

TEST(CMyGlobalSetters, ExportExtensionDropsDotsAndRefusesLongText) {
    TempHome home;
    CMyGlobal g;
    g.setExportExtension(".html");
    EXPECT_EQ(g.exportExtension(), "html");
    g.setExportExtension("abcdef");
    EXPECT_EQ(g.exportExtension(), "html");
    g.setExportExtension("\x95\x5c\x8c\x76");   // two double-byte characters
    EXPECT_EQ(g.exportExtension(), "\x95\x5c\x8c\x76");
    g.setExportExtension("...");
    EXPECT_EQ(g.exportExtension(), "");
    // The extension is part of a native (UTF-8) path: five characters of three bytes each.
    g.setExportExtension("ａｂｃｄｅ");
    EXPECT_EQ(g.exportExtension(), "ａｂｃｄｅ");
    g.setExportExtension("ａｂｃｄｅｆ");
    EXPECT_EQ(g.exportExtension(), "ａｂｃｄｅ");
}

TEST(CMyGlobalSetters, UserKeysOutsideTheRangeAreIgnored) {
    TempHome home;
    CMyGlobal g;
    g.setUserKey(3, 42, false);
    g.setUserKey(3, 43, true);
    g.setUserKey(10, 5, false);
    g.setUserKey(-1, 5, true);
    EXPECT_EQ(g.userKey(3, false), 42);
    EXPECT_EQ(g.userKey(3, true), 43);
    EXPECT_EQ(g.userKey(10, false), 0);
    EXPECT_EQ(g.userKey(-1, true), 0);
    EXPECT_EQ(g.userKey(0, true), 0);
}

TEST(CMyGlobalWindows, MaximisedCloseKeepsTheNormalPlace) {
    TempHome home;
    {
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        g.storeWindow(mainWindow, 40, 30, 900, 600);
        g.saveSettings(false);
        g.setMaximized(mainWindow, true);   // closed maximised: the place is not stored again
        g.saveSettings(false);
    }
    CMyGlobal next;
    next.loadSettings(screenW, screenH);
    EXPECT_TRUE(next.isMaximized(mainWindow));
    WindowPlace place;
    EXPECT_FALSE(next.restoreWindow(mainWindow, place));
    next.setMaximized(mainWindow, false);
    ASSERT_TRUE(next.restoreWindow(mainWindow, place));
    EXPECT_EQ(place.left, 40);
    EXPECT_EQ(place.width, 900);
}

TEST(CMyGlobalWindows, UnknownSlotsAndEmptySizes) {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal g;
    g.storeWindow(3, 1, 2, 3, 4);
    EXPECT_EQ(g.windowWidth(3), 0);
    WindowPlace place;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(g.restoreWindow(3, place));
    EXPECT_EQ(prompt.last().text, "値を追加が必要");
    EXPECT_EQ(prompt.last().caption, "");
    g.storeWindow(cardWindow, 5, 5, 0, 100);
    EXPECT_FALSE(g.restoreWindow(cardWindow, place));
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST(CMyGlobalWindows, CardRowHeightsAndColumnWidths) {
    TempHome home;
    CMyGlobal g;
    EXPECT_EQ(g.cardRowHeight(0), -1);
    g.setCardRowHeight(3, 40);
    EXPECT_EQ(g.cardRowHeight(3), 40);
    EXPECT_EQ(g.cardRowHeight(1), -1);
    EXPECT_EQ(g.cardRowHeight(4), -1);
    g.setCardRowHeight(-1, 5);
    EXPECT_EQ(g.cardRowHeight(-1), -1);
    g.setCardColumnWidth(2, 77);
    EXPECT_EQ(g.cardColumnWidth(2), 0);
    g.setCardColumnWidth(1, 77);
    EXPECT_EQ(g.cardColumnWidth(1), 77);
}

TEST(CMyGlobalFile, ForeignLinesSurviveASave) {
    TempHome home;
    home.write("vexil.ini", "; my notes\r\n[Other]\r\nThing=1\r\n\r\n[form]\r\nLeft=33\r\n"
                            "Colour=blue\r\n\r\n[OPT]\r\nscale=150\r\n");
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    EXPECT_EQ(g.windowLeft(mainWindow), 33);
    EXPECT_EQ(g.viewScale(), 150);
    g.setViewScale(200);
    ASSERT_TRUE(g.saveSettings(true));
    std::string text = TempHome::read(home.file("vexil.ini"));
    EXPECT_NE(text.find("; my notes"), std::string::npos);
    EXPECT_NE(text.find("[Other]\nThing=1\n"), std::string::npos);
    EXPECT_NE(text.find("[form]\nLeft=33\n"), std::string::npos);
    EXPECT_NE(text.find("Colour=blue"), std::string::npos);
    EXPECT_NE(text.find("scale=200"), std::string::npos);
    EXPECT_EQ(text.find("[FORM]"), std::string::npos);   // no second FORM section
}

TEST(CMyGlobalFile, UnwritableFileKeepsMemoryAndTheOldFile) {
    TempHome home;
    std::string old = "[OPT]\nSCALE=150\n";
    home.write("vexil.ini", old);
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    g.setViewScale(300);
    {
        FileLimit limit(8);
        EXPECT_FALSE(g.saveSettings(true));
    }
    EXPECT_EQ(TempHome::read(home.file("vexil.ini")), old);
    EXPECT_EQ(g.viewScale(), 300);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(home.path())) { (void)e; ++entries; }
    EXPECT_EQ(entries, 1);   // the temporary file was removed
}

TEST(CMyGlobalFile, AFileThatCannotBeReadIsNotReplaced) {
    TempHome home;
    std::string path = home.file("vexil.ini");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);   // there, but nothing to read
    CMyGlobal g;
    g.loadSettings(screenW, screenH);
    EXPECT_EQ(g.viewScale(), 100);
    EXPECT_FALSE(g.saveSettings(true));
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(CMyGlobalFile, TwoProcessesSavingAtOnceLeaveACompleteFile) {
    TempHome home;
    auto saver = [](int scale) {
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        g.setViewScale(scale);
        g.setUndoSize(scale * 1000);
        for (int i = 0; i < 60; ++i)
            if (!g.saveSettings(true)) return 1;
        return 0;
    };
    pid_t first = ::fork();
    if (first == 0) ::_exit(saver(150));
    pid_t second = ::fork();
    if (second == 0) ::_exit(saver(250));
    int status1 = 0, status2 = 0;
    ::waitpid(first, &status1, 0);
    ::waitpid(second, &status2, 0);
    EXPECT_TRUE(WIFEXITED(status1) && WEXITSTATUS(status1) == 0);
    EXPECT_TRUE(WIFEXITED(status2) && WEXITSTATUS(status2) == 0);
    ProfileFile ini = savedFile(home);
    int32_t scale = ini.readInt("OPT", "SCALE", 0);
    EXPECT_TRUE(scale == 150 || scale == 250);
    EXPECT_EQ(ini.readInt("OPT", "UNDOSIZE", 0), scale * 1000);   // one writer's whole file
    for (const char* key : optionKeyNames) EXPECT_TRUE(ini.hasKey("OPT", key)) << key;
    EXPECT_TRUE(ini.hasKey("FORM", "MAX"));
    EXPECT_EQ(TempHome::read(home.file("vexil.ini")).find("[OPT]"),
              TempHome::read(home.file("vexil.ini")).rfind("[OPT]"));
}

// Every key of vexil.ini: set a value other than the default, save with options, read it in
// a fresh object and find the same value (and the key under its own section in the file).
namespace {
struct KeyCase {
    std::string section, key;
    std::function<void(CMyGlobal&)> set;
    std::function<std::string(const CMyGlobal&)> get;
};

std::vector<KeyCase> allKeys() {
    std::vector<KeyCase> cases;
    const char* sections[] = {"FORM", "FORM1", "FORM2"};
    for (int slot = 0; slot < 3; ++slot) {
        std::string s = sections[slot];
        cases.push_back({s, "MAX", [slot](CMyGlobal& g) { g.setMaximized(slot, true); },
                         [slot](const CMyGlobal& g) { return std::to_string(g.isMaximized(slot)); }});
        const char* names[] = {"LEFT", "TOP", "WIDTH", "HEIGHT"};
        for (int field = 0; field < 4; ++field) {
            cases.push_back({s, names[field],
                             [slot, field](CMyGlobal& g) {
                                 WindowPlace p = g.windowPlace(slot);
                                 int32_t* f[] = {&p.left, &p.top, &p.width, &p.height};
                                 *f[field] = -(17 + field);   // negative values are kept
                                 g.storeWindow(slot, p.left, p.top, p.width, p.height);
                             },
                             [slot](const CMyGlobal& g) {
                                 WindowPlace p = g.windowPlace(slot);
                                 return std::to_string(p.left) + "," + std::to_string(p.top) + "," +
                                        std::to_string(p.width) + "," + std::to_string(p.height);
                             }});
        }
    }
    for (int i = 0; i < 2; ++i)
        cases.push_back({"FORM2", i ? "COL_W2" : "COL_W1", [i](CMyGlobal& g) { g.setCardColumnWidth(i, 321); },
                         [i](const CMyGlobal& g) { return std::to_string(g.cardColumnWidth(i)); }});
    cases.push_back({"EXP", "HEADER", [](CMyGlobal& g) { g.setExportHeader(true); },
                     [](const CMyGlobal& g) { return std::to_string(g.exportHeader()); }});
    cases.push_back({"EXP", "KAKU", [](CMyGlobal& g) { g.setExportExtension("htm"); },
                     [](const CMyGlobal& g) { return g.exportExtension(); }});
    cases.push_back({"EXP", "KIND", [](CMyGlobal& g) { g.setExportKind(9); },
                     [](const CMyGlobal& g) { return std::to_string(g.exportKind()); }});
    for (bool shifted : {false, true})
        for (int k = 0; k < 10; ++k)
            cases.push_back({"OPT", (shifted ? "USER_SKEY" : "USER_KEY") + std::to_string(k),
                             [k, shifted](CMyGlobal& g) { g.setUserKey(k, 30 + k, shifted); },
                             [k, shifted](const CMyGlobal& g) { return std::to_string(g.userKey(k, shifted)); }});
    auto opt = [&cases](const char* key, std::function<void(CMyGlobal&)> set,
                        std::function<int(const CMyGlobal&)> get) {
        cases.push_back({"OPT", key, set, [get](const CMyGlobal& g) { return std::to_string(get(g)); }});
    };
    opt("RET", [](CMyGlobal& g) { g.setReturnMovesRight(true); }, [](const CMyGlobal& g) { return g.returnMovesRight(); });
    opt("MAKEFD", [](CMyGlobal& g) { g.setColourFileMode(2); }, [](const CMyGlobal& g) { return g.colourFileMode(); });
    opt("MAKEFDLISTMAX", [](CMyGlobal& g) { g.setColourListMax(35); }, [](const CMyGlobal& g) { return g.colourListMax(); });
    opt("DBLKIND", [](CMyGlobal& g) { g.setQuoteKind(3); }, [](const CMyGlobal& g) { return g.quoteKind(); });
    opt("LINECUR_UMU", [](CMyGlobal& g) { g.setShowLineCursor(false); }, [](const CMyGlobal& g) { return g.showLineCursor(); });
    opt("CELLOVER", [](CMyGlobal& g) { g.setCellOverflow(false); }, [](const CMyGlobal& g) { return g.cellOverflow(); });
    opt("UNDOSIZE", [](CMyGlobal& g) { g.setUndoSize(123456); }, [](const CMyGlobal& g) { return g.undoSize(); });
    opt("SCALE", [](CMyGlobal& g) { g.setViewScale(250); }, [](const CMyGlobal& g) { return g.viewScale(); });
    opt("CARD_SCALE", [](CMyGlobal& g) { g.setCardScale(60); }, [](const CMyGlobal& g) { return g.cardScale(); });
    opt("SIMPLE_CALC", [](CMyGlobal& g) { g.setSimpleCalc(false); }, [](const CMyGlobal& g) { return g.simpleCalc(); });
    opt("ENDLINE", [](CMyGlobal& g) { g.setShowEndLine(1); }, [](const CMyGlobal& g) { return g.showEndLine(); });
    opt("KG_LINE", [](CMyGlobal& g) { g.setAlternateRows(3); }, [](const CMyGlobal& g) { return g.alternateRows(); });
    opt("KG_LINE_IDX", [](CMyGlobal& g) { g.setAlternateColour(5); }, [](const CMyGlobal& g) { return g.alternateColour(); });
    opt("PRINT_KIND", [](CMyGlobal& g) { g.setPrintKind(2); }, [](const CMyGlobal& g) { return g.printKind(); });
    opt("F_DBL_RETONLY", [](CMyGlobal& g) { g.setFileQuoteLineBreakOnly(false); }, [](const CMyGlobal& g) { return g.fileQuoteLineBreakOnly(); });
    opt("CP_DBL_RETONLY", [](CMyGlobal& g) { g.setCopyQuoteLineBreakOnly(false); }, [](const CMyGlobal& g) { return g.copyQuoteLineBreakOnly(); });
    opt("CELL_RET_VIEW", [](CMyGlobal& g) { g.setShowCellLineBreaks(false); }, [](const CMyGlobal& g) { return g.showCellLineBreaks(); });
    opt("TAB_RET_WARNING", [](CMyGlobal& g) { g.setLineBreakCopyWarning(false); }, [](const CMyGlobal& g) { return g.lineBreakCopyWarning(); });
    opt("SEL_COLORNO", [](CMyGlobal& g) { g.setSelectionColour(0); }, [](const CMyGlobal& g) { return g.selectionColour(); });
    opt("R_MOZICODE", [](CMyGlobal& g) { g.setReadEncoding(15); }, [](const CMyGlobal& g) { return g.readEncoding(); });
    opt("MOZICODE", [](CMyGlobal& g) { g.setStartEncoding(10); }, [](const CMyGlobal& g) { return g.startEncoding(); });
    opt("RETCODE", [](CMyGlobal& g) { g.setStartLineEnd(2); }, [](const CMyGlobal& g) { return g.startLineEnd(); });
    opt("BOM", [](CMyGlobal& g) { g.setStartBom(false); }, [](const CMyGlobal& g) { return g.startBom(); });
    return cases;
}
} // namespace

TEST(CMyGlobalFile, EveryKeyRoundTrips) {
    std::vector<KeyCase> cases = allKeys();
    EXPECT_EQ(cases.size(), 17u + 3u + 20u + 1u + 22u);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        TempHome home;
        CMyGlobal written;
        written.loadSettings(screenW, screenH);
        std::string before = c.get(written);
        c.set(written);
        std::string value = c.get(written);
        ASSERT_NE(value, before);
        ASSERT_TRUE(written.saveSettings(true));
        EXPECT_TRUE(savedFile(home).hasKey(c.section, c.key));
        CMyGlobal fresh;
        fresh.loadSettings(screenW, screenH);
        EXPECT_EQ(c.get(fresh), value);
    }
}

TEST(CMyGlobalLoad, NewSettingsFileKeepsEachFilesQuotingAndAStoredChoiceStays) {
    TempHome home;
    CMyGlobal fresh;
    fresh.loadSettings(screenW, screenH);
    EXPECT_EQ(fresh.quoteKind(), 4);
    for (const char* stored : {"0", "3", "4"}) {
        home.write("vexil.ini", std::string("[OPT]\r\nDBLKIND=") + stored + "\r\n");
        CMyGlobal g;
        g.loadSettings(screenW, screenH);
        EXPECT_EQ(g.quoteKind(), std::atoi(stored));
    }
}
