// SaveFlow: save, save as, save with a chosen encoding, row export and the colour-file commands.
#pragma once

#include <functional>
#include <string>

class CMyColourFile;
class CMyGlobal;
class CMyHyo;
class StagedFile;
struct DocumentState;

// What only the window knows or does. Every member may be left empty.
struct SaveFlowWindow {
    std::function<void()> closeEditor;                       // commit the in-cell editor
    std::function<void(const std::string&)> setColourNote;   // status panel 6; "" clears it
    std::function<void(bool)> waitCursor;                    // true while writing
    // The view's column freeze (first, end; end 0 = none) and alternating-background mode
    // (band height * 1000 + colour index, 0 = off), recorded in the colour file.
    std::function<void(int& freezeFirst, int& freezeEnd, int& alternate)> viewSettings;
    std::function<void()> refresh;                           // caption and window state
};

class SaveFlow {
public:
    static const char* const ThreeFilters;
    static const char* const SixFilters;
    static const char* const TemporaryStoreNote;

    SaveFlow(CMyHyo& hyo, CMyGlobal& global, DocumentState& doc, SaveFlowWindow window = {});

    // Save (false) and save as (true); true when the file was written.
    bool saveDocument(bool saveAs);
    // "文字コードを指定して保存(&C)...": the encoding form, then save as.
    bool saveWithEncoding();
    // Writes view rows first..last (0-based) to a file chosen in the save dialog.
    bool exportRows(int first, int last, bool bom, int lineEnding, int encoding, bool includeHeader);
    // "指定行数をエクスポート(&X)...": proposes firstRow..lastRow (1-based view rows of the
    // selection) when whole rows are selected, else all rows; asks with the export form and
    // runs exportRows.
    bool exportCommand(bool wholeRowsSelected, int firstRow, int lastRow);

    // Colour-file commands. The toggle returns whether the button ends up pressed.
    bool toggleSaveFormat(bool pressed);
    // tag 0: create the colour file beside the data file; 1: change to the temporary store.
    bool colourFileCommand(int tag);
    // Before reloading colours from the store: a modified document asks first.
    bool confirmReloadFromStore() const;

    // The save dialog's title: "名前を付けて保存(UTF8(BOM) - LF)" and so on.
    static std::string saveTitle(int encoding, int lineEnding, bool withBom);

private:
    struct Target;
    struct Output;
    bool refuseLineBreaks() const;
    bool changedOnDisk() const;
    int preselectedFilter() const;
    bool chooseSaveTarget(Target& target);
    bool confirmExtension(int filter, std::string& path, char& separator) const;
    bool confirmOverwrite(const std::string& path, int colourMode) const;
    bool writeDocument(const Target& target, bool saveAs);
    bool writeRows(Output& out, CMyColourFile* colour, StagedFile& staged);
    void finishDocument(const Target& target, CMyColourFile* colour);
    bool moveToTemporaryStore();
    void deleteBesideFile();
    void note(const std::string& text) const;
    void wait(bool on) const;

    CMyHyo& hyo;
    CMyGlobal& global;
    DocumentState& doc;
    SaveFlowWindow window;
};
