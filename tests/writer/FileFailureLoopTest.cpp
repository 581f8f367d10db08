// Every file call of the save, open, colour-file and list flows failed in turn: the files on
// disk stay whole, the user is told, the document stays modified and nothing is left behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "FailureLoopSupport.h"
#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "store/SaveFormHandler.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;
using FailureLoop::Scenario;

namespace {

class EncodingForm : public SaveFormHandler {
public:
    EncodingForm() { install(this); }
    ~EncodingForm() override { install(nullptr); }
    bool showSaveChg(EncodingChoice& choice) override {
        choice = EncodingChoice{EncUtf8, LineLf, true};
        return true;
    }
    bool showSaveExp(ExportChoice&) override { return false; }
};

class FileFailureLoopTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return home.file(name); }

    // A fresh window state and folder: "d.csv" on disk with old bytes, the table edited.
    void resetDocument(int colourMode) {
        for (const auto& entry : fs::directory_iterator(home.path())) fs::remove_all(entry.path());
        global = std::make_unique<CMyGlobal>();
        global->setColourFileMode(colourMode);
        global->setColourListMax(10);
        global->setQuoteKind(0);
        hyo = std::make_unique<CMyHyo>();
        fillTable(*hyo, {"a|b", "c|d"});
        hyo->setCellAttribute(0, 0, AttrBackColour, 6, 1, 1);
        doc = DocumentState{};
        doc.filePath = home.write("d.csv", "old\r\n");
        doc.modified = true;
        doc.colourMode = colourMode;
    }
    SaveFlow flow() { return SaveFlow(*hyo, *global, doc); }
    // A store list one short of the limit, each entry with its store file, so that a new
    // entry evicts the oldest.
    void fillStore() {
        std::string list;
        for (int i = 0; i < 10; ++i) {
            const std::string name = "2026010100000" + std::to_string(i) + "_01";
            home.write("vxc_data/" + name.substr(0, 8) + "/" + name + ".vxc", "VXC old " + name);
            list += name + " 20260101000000 0000000000 /x/f" + std::to_string(i) + ".csv\r\n";
        }
        home.write("vxc_data/vxc.lst", list);
    }
    void expectStillModified(bool ok, long n) {
        if (!ok) EXPECT_TRUE(doc.modified) << "failure " << n;
        else EXPECT_FALSE(doc.modified) << "failure " << n;
    }
    Scenario saveScenario(int colourMode, std::function<bool(ScriptedPrompt&)> run, std::string target) {
        Scenario s;
        s.folder = home.path();
        s.reset = [this, colourMode] {
            resetDocument(colourMode);
            if (colourMode == 2) fillStore();
        };
        s.run = std::move(run);
        s.target = std::move(target);
        s.check = [this](bool ok, long n) { expectStillModified(ok, n); };
        return s;
    }
    void report(const char* what, long points) {
        EXPECT_GT(points, 0) << what;
        std::printf("[ loop ] %s: %ld failure points\n", what, points);
    }

    TempHome home;
    std::unique_ptr<CMyGlobal> global;
    std::unique_ptr<CMyHyo> hyo;
    DocumentState doc;
};

} // namespace

TEST_F(FileFailureLoopTest, SaveAndSaveAsLeaveTheOldFileOrTheNewOne) {
    auto save = [this](ScriptedPrompt&) { return flow().saveDocument(false); };
    report("save", FailureLoop::walk(saveScenario(0, save, "d.csv")));
    report("save with colour file beside", FailureLoop::walk(saveScenario(1, save, "d.csv")));
    report("save into the temporary store with eviction",
           FailureLoop::walk(saveScenario(2, save, "d.csv")));
    auto saveAs = [this](ScriptedPrompt& prompt) {
        prompt.chooseFile(path("as.csv"), 1);
        return flow().saveDocument(true);
    };
    report("save as with colour file", FailureLoop::walk(saveScenario(1, saveAs, "as.csv")));
    // The same calls failing with other errors: a full disk, a broken device, a refusal, a
    // rename across file systems.
    for (int error : {ENOSPC, EIO, EACCES, EXDEV})
        report(("save with colour file beside, every call failing with errno " + std::to_string(error)).c_str(),
               FailureLoop::walk(saveScenario(1, save, "d.csv"), FailureLoop::FileCalls, error));
}

TEST_F(FileFailureLoopTest, SaveWithEncodingAndExport) {
    EncodingForm form;
    auto encoded = [this](ScriptedPrompt& prompt) {
        prompt.chooseFile(path("d.csv"), 1);
        prompt.answer(PromptAnswer::Yes);   // overwrite
        return flow().saveWithEncoding();
    };
    report("save with encoding", FailureLoop::walk(saveScenario(0, encoded, "d.csv")));
    Scenario exported = saveScenario(0, [this](ScriptedPrompt& prompt) {
        prompt.chooseFile(path("x.csv"), 1);
        return flow().exportRows(0, 1, true, LineCrLf, EncUtf16Le, false);
    }, "x.csv");
    exported.check = [this](bool, long n) { EXPECT_TRUE(doc.modified) << "failure " << n; };
    report("export", FailureLoop::walk(exported));
}

TEST_F(FileFailureLoopTest, ColourFileCommandsAndTheStore) {
    // Linked beside, then moved into the store (deleting the file beside), and back.
    auto prepared = [this](int mode) {
        resetDocument(mode);
        fillStore();
        ASSERT_TRUE(flow().saveDocument(false));
        hyo->setCellAttribute(0, 1, AttrBackColour, 3, 1, 1);
        doc.modified = true;
    };
    Scenario toStore;
    toStore.folder = home.path();
    toStore.reset = [&] { prepared(1); };
    toStore.run = [this](ScriptedPrompt& prompt) {
        prompt.answer(PromptAnswer::Yes);
        return !flow().toggleSaveFormat(false);
    };
    toStore.target = "d.csv";
    toStore.check = [this](bool ok, long n) {
        if (!ok) EXPECT_TRUE(doc.modified) << "failure " << n;
    };
    report("move to the temporary store", FailureLoop::walk(toStore));

    Scenario beside = toStore;
    beside.reset = [&] { prepared(2); };
    beside.run = [this](ScriptedPrompt& prompt) {
        prompt.answer(PromptAnswer::Yes);
        return flow().colourFileCommand(0);
    };
    beside.target = "d.vxc";
    report("create the colour file beside", FailureLoop::walk(beside));
}

TEST_F(FileFailureLoopTest, OpenWithAColourFileChangesNothingOnDisk) {
    for (int mode : {1, 2}) {
        resetDocument(mode);
        if (mode == 2) fillStore();
        ASSERT_TRUE(flow().saveDocument(false));
        const FailureLoop::Snapshot saved = FailureLoop::snapshot(home.path());
        Scenario open;
        open.folder = home.path();
        open.reset = [&] {
            // The saved files stay; only the window state is new.
            global = std::make_unique<CMyGlobal>();
            global->setColourFileMode(mode);
            hyo = std::make_unique<CMyHyo>();
            DocumentState fresh;
            fresh.colourMode = mode;
            fresh.colourTempName = doc.colourTempName;
            doc = fresh;
        };
        open.run = [&](ScriptedPrompt&) {
            OpenFlow flow(*hyo, *global, doc, {}, ColourOpenSteps::hooks());
            return flow.openFile(path("d.csv"), false, "", TypeNone) == OpenFlow::Loaded &&
                   hyo->cellAttribute(0, 0, AttrBackColour) == 6;
        };
        open.target = "d.csv";
        open.check = [&](bool ok, long n) {
            EXPECT_EQ(FailureLoop::snapshot(home.path()), saved) << "failure " << n;
            EXPECT_FALSE(doc.modified) << "failure " << n;
            if (!ok && hyo->storeRowCount() > 0) EXPECT_EQ(hyo->rowList().line(0), "a\tb");
        };
        report(mode == 1 ? "open with colour file beside" : "open with the temporary store",
               FailureLoop::walk(open));
    }
}

TEST_F(FileFailureLoopTest, SettingsFileAndHistoryLists) {
    Scenario settings;
    settings.folder = home.path();
    settings.reset = [this] {
        for (const auto& entry : fs::directory_iterator(home.path())) fs::remove_all(entry.path());
        global = std::make_unique<CMyGlobal>();
        global->loadSettings(1920, 1080);
        ASSERT_TRUE(global->saveSettings(true));
        global->setColourListMax(77);
    };
    settings.run = [this](ScriptedPrompt& prompt) {
        if (global->saveSettings(true)) return true;
        prompt.messageBox("settings not written", "", PromptButtons::Ok, PromptIcon::Warning, PromptAnswer::Ok);
        return false;
    };
    settings.target = "vexil.ini";
    report("settings file", FailureLoop::walk(settings));

    Scenario history = settings;
    history.reset = [this] {
        for (const auto& entry : fs::directory_iterator(home.path())) fs::remove_all(entry.path());
        global = std::make_unique<CMyGlobal>();
        ASSERT_TRUE(global->saveFindHistory({"one", "two"}));
    };
    history.run = [this](ScriptedPrompt& prompt) {
        if (global->saveFindHistory({"three", "one", "two"})) return true;
        prompt.messageBox("history not written", "", PromptButtons::Ok, PromptIcon::Warning, PromptAnswer::Ok);
        return false;
    };
    history.target = "vexil_f.lst";
    const long points = FailureLoop::walk(history);
    report("find history list", points);
}

TEST_F(FileFailureLoopTest, AllocationFailuresInOpenAndSave) {
    auto save = [this](ScriptedPrompt&) { return flow().saveDocument(false); };
    report("save with colour file, allocations",
           FailureLoop::walk(saveScenario(1, save, "d.csv"), FailureLoop::Allocations));
    report("save into the temporary store, allocations",
           FailureLoop::walk(saveScenario(2, save, "d.csv"), FailureLoop::Allocations));

    resetDocument(1);
    ASSERT_TRUE(flow().saveDocument(false));
    const FailureLoop::Snapshot saved = FailureLoop::snapshot(home.path());
    Scenario open;
    open.folder = home.path();
    open.reset = [this] {
        hyo = std::make_unique<CMyHyo>();
        doc = DocumentState{};
    };
    open.run = [this](ScriptedPrompt&) {
        OpenFlow flow(*hyo, *global, doc, {}, ColourOpenSteps::hooks());
        return flow.openFile(path("d.csv"), false, "", TypeNone) == OpenFlow::Loaded;
    };
    open.target = "d.csv";
    open.check = [&](bool ok, long n) {
        EXPECT_EQ(FailureLoop::snapshot(home.path()), saved) << "allocation " << n;
        // A load reported as done has every row; a refused one may leave what it read.
        if (ok) EXPECT_EQ(hyo->rowList().line(1), "c\td") << "allocation " << n;
    };
    report("open with colour file, allocations", FailureLoop::walk(open, FailureLoop::Allocations));
}
