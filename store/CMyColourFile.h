// CMyColourFile: the colour-information file (.vxc) and the temporary colour store vxc_data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CMyGlobal;
class CMyHyo;
class StagedFile;
struct DocumentState;

// The settings record a colour file carries (56 bytes in the file).
struct ColourSettings {
    int32_t freezeFirst = 0;   // first column of the column freeze
    int32_t freezeEnd = 0;     // end of the freeze (exclusive); 0 = none
    int32_t headerFlag = 0;    // the file's first line holds the column titles
    int32_t separator = ',';   // 44 comma, 9 TAB
    int32_t quoteKind = 0;     // DBLKIND when saved
    int32_t flags = 0;         // bit 0: F_DBL_RETONLY
    int32_t formatFlags = 1;   // see FormatFlag
    int32_t alternate = 0;     // band height * 1000 + colour index; 0 = off
    bool present = false;      // read: the record was found and had its full size

    int alternateBand() const { return alternate / 1000; }
    int alternateColour() const { return alternate % 1000; }
};

enum FormatFlag {
    FormatValid = 1, FormatNoBom = 2, FormatLf = 4, FormatCr = 8, FormatUtf8 = 16, FormatUtf16 = 32,
};

class CMyColourFile {
public:
    static constexpr int Version = 201;
    static constexpr int RecordSize = 16;
    static constexpr int SettingsRecordSize = 56;
    static constexpr int ListPathOffset = 44;
    static constexpr int TempNameLength = 17;

    CMyColourFile();
    ~CMyColourFile();
    CMyColourFile(const CMyColourFile&) = delete;
    CMyColourFile& operator=(const CMyColourFile&) = delete;

    // ---- paths ----------------------------------------------------------------------
    // The data path with everything from the first dot of its file name replaced by ".vxc".
    static std::string besidePath(const std::string& dataPath);
    static std::string storeFolder(const CMyGlobal& global);
    static std::string storePath(const CMyGlobal& global, const std::string& tempName);
    static std::string listPath(const CMyGlobal& global);
    // "yyyymmddhhnnss_NN" from the local time and the settings' rolling sequence.
    static std::string makeTemporaryName(CMyGlobal& global);
    static int formatFlagsFor(bool withBom, int lineEnding, int encoding);
    // True for a name of the form makeTemporaryName gives: 14 digits, "_", 2 digits.
    static bool isTemporaryName(const std::string& name);

    // ---- open -----------------------------------------------------------------------
    // Sets colourMode, colourFileInUse, colourTempName and colourListIndex of `doc` and
    // returns the colour file to read ("" when MAKEFD is 0). tempName: reload from the list.
    static std::string locateColourFile(const std::string& dataPath, const std::string& tempName,
                                        CMyGlobal& global, DocumentState& doc);
    // False (and nothing reported) when the file cannot be opened.
    bool openForReading(const std::string& path);
    // Adopts an already open stream (tests and the fuzzer read from memory).
    void adopt(std::FILE* stream);
    // 0: header read, column records replaced, `settings` filled. -1: a message was shown
    // and the file closed; the data is then read without colours.
    int readColourHeader(CMyHyo& hyo, ColourSettings& settings);
    // Applies the attribute records (rows shifted by rowOffset) and closes the file.
    // Returns the records applied, or -1 after the invalid-definition message.
    int readColourRecords(CMyHyo& hyo, int rowOffset);

    // ---- save -----------------------------------------------------------------------
    // Writes the header to a temporary file beside the colour file's place. 1 created,
    // 0 nothing to create (MAKEFD 0), -1 failed ("ファイルのオープンに失敗しました。(色情報)"
    // is for the caller to show). `doc` is not changed; see commit().
    int createColourFile(const std::string& dataPath, bool saveAs, const DocumentState& doc,
                         CMyGlobal& global, const CMyHyo& hyo, const ColourSettings& settings);
    // One record per row attribute in `prefix` (0x07 + record, repeated).
    void writeRowAttributes(int row, const char* prefix, int length);
    // One record per attribute record in `records` (the start of a cell).
    void writeCellAttributes(int column, int row, const char* records, int length);
    // Writes the end record and closes: 0, or -1 when any write or the close failed.
    int finishColourFile();
    // Renames the finished file over the colour file and updates `doc`'s colour state.
    bool commit(DocumentState& doc);
    // Drops an unfinished or uncommitted file; the old colour file stays.
    void abandon();

    bool toTemporaryStore() const { return temporaryStore; }

    // After a temporary-store save: moves the document's entry to the top of vxc.lst,
    // evicting beyond MAKEFDLISTMAX for a new entry. False when the list could not be written.
    static bool updateTemporaryList(const std::string& dataPath, const DocumentState& doc,
                                    CMyGlobal& global);
    // The lines of vxc.lst as they are on disk now (empty when it is missing or unreadable).
    static std::vector<std::string> readTemporaryList(const CMyGlobal& global);
    // Rereads vxc.lst, removes the entry named `tempName` (wherever another instance has moved
    // it) and then its store file. 1 removed, 0 no such entry or not a temporary name, -1 the
    // list could not be written (list and file stay).
    static int removeTemporaryEntry(const CMyGlobal& global, const std::string& tempName);

private:
    void put32(int32_t value);
    void putRecord(int32_t column, int32_t row, int32_t kind, int32_t value);
    bool writeHeader(const CMyHyo& hyo, const ColourSettings& settings);
    int writeColumns(const CMyHyo& hyo);
    bool readBlockChecked(CMyHyo& hyo);
    void closeStream();

    std::FILE* stream = nullptr;
    bool writeFailed = false;
    std::unique_ptr<StagedFile> staged;
    std::string target;
    std::string tempName;
    bool temporaryStore = false;
    bool finished = false;
};
