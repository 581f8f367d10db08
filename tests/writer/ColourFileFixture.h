// ColourFileFixture: colour files built by hand and the fixture the colour-file tests share.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "WriterTestSupport.h"
#include "platform/core/FileHook.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

inline std::string le32(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

inline int32_t at32(const std::string& bytes, size_t pos) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    return static_cast<int32_t>(v);
}

inline std::string listBlock(const std::vector<std::string>& lines) {
    std::string s = "LI" + le32(1);
    for (const auto& line : lines) s += le32(static_cast<int32_t>(line.size())) + line;
    return s + le32(-1);
}

inline std::string record(int32_t column, int32_t row, int32_t kind, int32_t value) {
    return le32(column) + le32(row) + le32(kind) + le32(value);
}

// A colour file built by hand: one column of width 100, settings, the records given.
inline std::string colourFile(int version, const std::string& records, int headerFlag = 0) {
    std::string column = le32(100) + std::string(4, '\0') + std::string("\0\0\x78\x78", 4) + std::string(4, '\0');
    std::string settings(56, '\0');
    std::memcpy(&settings[8], le32(headerFlag).data(), 4);
    std::memcpy(&settings[36], le32(',').data(), 4);
    std::memcpy(&settings[48], le32(1 | 2).data(), 4);
    std::string lead = le32(1) + std::string(40, '\0');
    return "VXC" + le32(version) + le32(16) + listBlock({column}) + listBlock({lead, settings}) +
           le32(16) + records + record(-1, -1, 0, 0);
}

// A colour file with no records whose settings record holds the values given.
inline std::string settingsFile(int separator, int quoteKind, int flags, int format, int alternate,
                         int headerFlag, int freezeFirst, int freezeEnd) {
    std::string settings = le32(freezeFirst) + le32(freezeEnd) + le32(headerFlag) +
                           std::string(24, '\0') + le32(separator) + le32(quoteKind) + le32(flags) +
                           le32(format) + le32(alternate);
    std::string column = le32(100) + std::string(4, '\0') + std::string("\0\0\x78\x78", 4) + std::string(4, '\0');
    return "VXC" + le32(201) + le32(16) + listBlock({column}) +
           listBlock({le32(1) + std::string(40, '\0'), settings}) + le32(16) + record(-1, -1, 0, 0);
}

// Whether this process holds the file open (the descriptors listed in /proc/self/fd).
inline bool heldOpen(const std::string& path) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        if (std::filesystem::equivalent(entry.path(), path, ignored)) return true;
    }
    return false;
}

inline void setTime(const std::string& path, int secondsAgo) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
}

class ColourFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(1);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
    }
    // Reads a colour file into the table as the open flow does; returns the header result.
    int readInto(const std::string& bytes, int rowOffset = 0) {
        const std::string path = home.write("probe.vxc", bytes);
        CMyColourFile file;
        if (!file.openForReading(path)) return -9;
        ColourSettings settings;
        const int header = file.readColourHeader(hyo, settings);
        if (header == 0) file.readColourRecords(hyo, rowOffset);
        return header;
    }
    int open(const std::string& name, bool header = false) {
        OpenFlow flow(hyo, global, doc, {}, ColourOpenSteps::hooks());
        return flow.openFile(path(name), header, "", TypeNone);
    }
    std::string path(const std::string& name) const { return home.file(name); }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};
