// SaveFormHandler: the door to the two small save forms (encoding choice and row export).
#pragma once

#include <string>

// What "文字コードを指定して保存" offers and returns. encoding: 0, 15 or 10.
struct EncodingChoice {
    int encoding = 0;
    int lineEnding = 0;
    bool withBom = false;
};

// What "指定行数をエクスポート" offers and returns; rows are 1-based as shown.
struct ExportChoice {
    int firstRow = 1;
    int lastRow = 1;
    bool includeHeader = false;
    EncodingChoice format;
};

// The Qt forms TfrmSaveChg and TfrmSaveExp implement this; tests install a scripted one, so
// the save flows run without a window. Each returns false when the form was cancelled.
class SaveFormHandler {
public:
    virtual ~SaveFormHandler() = default;
    virtual bool showSaveChg(EncodingChoice& choice) = 0;
    virtual bool showSaveExp(ExportChoice& choice) = 0;

    // Installs a handler (not owned); nullptr leaves every form cancelled.
    static void install(SaveFormHandler* handler);
    static SaveFormHandler* installed();

    // The forms' shared rules, kept here so that every implementation applies the same ones.
    // Encoding list entries: 0 "SHIFT-JIS", 1 "UTF8", 2 "UTF16".
    static int encodingEntry(int encoding);
    static int encodingForEntry(int entry);
    // The BOM box is offered exactly when the encoding is not Shift-JIS.
    static bool bomAllowed(int entry) { return entry != 0; }
    // The OK check of the export form: false (after "開始行が終了行より大きいです。") keeps it open.
    static bool acceptExportRange(int firstRow, int lastRow);
};
