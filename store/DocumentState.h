// What the main window knows about the open document: path, format and colour-file state.
#pragma once

#include <string>

// Encoding codes: -1 automatic (reading only), 0 Shift-JIS, 10 UTF-16 LE, 11 UTF-16 BE, 15 UTF-8.
enum EncodingCode { EncAuto = -1, EncShiftJis = 0, EncUtf16Le = 10, EncUtf16Be = 11, EncUtf8 = 15 };
// Line-end codes.
enum LineEndCode { LineCrLf = 0, LineCr = 1, LineLf = 2 };

// Kept by the window and handed to the open, save and colour-file flows, which run without one.
struct DocumentState {
    std::string filePath;          // native path, empty for an untitled window
    bool modified = false;
    bool readError = false;        // the last read ended with an error
    char separator = ',';          // ',' or '\t'
    int encoding = EncShiftJis;
    int lineEnding = LineCrLf;
    bool withBom = false;
    bool endsWithoutLineBreak = false;  // the file's last line had no line break when read
    int colourMode = 0;            // 0 none, 1 beside the data file, 2 temporary store
    bool colourFileInUse = false;  // the colour file beside the data file is in use
    std::string colourTempName;    // temporary-store name (17 characters) or empty
    int colourListIndex = -1;      // line of vxc.lst matched at open, -1 when none
    // The file as it was opened or last saved: its path, size (-1: not known) and
    // modification time, so that a save can tell that another program or instance wrote it.
    std::string diskPath;
    long long diskSize = -1;
    long long diskTime = 0;
};
