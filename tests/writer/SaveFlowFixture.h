// SaveFlowFixture: the save-form answers and the fixture the save-flow tests share.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "WriterTestSupport.h"
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "store/SaveFormHandler.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

// Answers the two save forms from values a test sets.
class ScriptedForms : public SaveFormHandler {
public:
    ScriptedForms() { install(this); }
    ~ScriptedForms() override { install(nullptr); }
    bool showSaveChg(EncodingChoice& choice) override {
        offeredEncoding = choice;
        if (!accept) return false;
        choice = encoding;
        return true;
    }
    bool showSaveExp(ExportChoice& choice) override {
        offeredExport = choice;
        if (!accept) return false;
        choice = exportChoice;
        return true;
    }
    bool accept = true;
    EncodingChoice encoding;
    ExportChoice exportChoice;
    EncodingChoice offeredEncoding;
    ExportChoice offeredExport;
};

class SaveFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
    }
    std::string path(const std::string& name) const { return home.file(name); }
    void saveTo(const std::string& name) {
        doc.filePath = path(name);
        ASSERT_TRUE(flow.saveDocument(false));
    }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(home.path()))
            if (entry.path().filename().string().find(".vexil-") != std::string::npos)
                names.push_back(entry.path().filename().string());
        return names;
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    SaveFlow flow{hyo, global, doc};
};
