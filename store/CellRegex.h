// CellRegex: a regular expression matched against Shift-JIS cells as Unicode text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The pattern and each cell are converted to UTF-8 through the code page, and every UTF-8
// character keeps the CP932 offset of the character it came from. So "." is one character,
// [ぁ-ん] and \d see characters, and a match always starts and ends at a CP932 character
// start: replacements splice the cell's own bytes and never cut a double-byte character.
// ^ and $ are the cell's start and end. Compiled once per search; the match data and the
// conversion buffers are reused from cell to cell (one search at a time, one thread).
//
// A pattern that backtracks without end hits the match limits; the search then gives up:
// gaveUp() stays true and every later test fails at once, so the caller can stop and leave
// the table as it was.
class CellRegex {
public:
    static constexpr unsigned MatchLimit = 1000000;
    static constexpr unsigned DepthLimit = 20000;
    // replace(): the result would reach the cell limit; the pattern gave up.
    static constexpr int TooLong = -1;
    static constexpr int GaveUp = -2;

    // `pattern` is CP932; without `matchCase` letters match caselessly (Unicode folding).
    CellRegex(std::string_view pattern, bool matchCase);
    ~CellRegex();
    CellRegex(const CellRegex&) = delete;
    CellRegex& operator=(const CellRegex&) = delete;

    bool valid() const;
    // For an invalid pattern: the one-based character where PCRE2 saw the fault, and its
    // reason (UTF-8).
    int errorCharacter() const { return errorCharacter_; }
    const std::string& errorText() const { return errorText_; }
    // "正規表現に誤りがあります。(%d文字目：%s)" for an invalid pattern.
    std::string errorMessage() const;

    // True when the pattern matches somewhere in `cell` (the text after its records).
    bool matches(std::string_view cell) const;
    // The first match as CP932 byte offsets [start, end); false when there is none.
    bool firstMatch(std::string_view cell, std::size_t& start, std::size_t& end) const;
    // Every match, left to right, replaced by the expansion of `replacement` (CP932): $0-$9
    // and ${name} (or ${number}) insert a group (empty when it did not take part), $$ is a
    // dollar, any other $ stands for itself. 1 changed, 0 unchanged (no match, or the same
    // text), TooLong when the result would reach 5,000 bytes, GaveUp.
    int replace(std::string_view cell, std::string_view replacement, std::string& out) const;

    bool gaveUp() const { return gaveUp_; }

private:
    struct Engine;
    struct Piece {
        int group;          // -1: the literal text
        std::string text;
    };

    bool prepare(std::string_view cell) const;
    void convertByCharacter(std::string_view cell) const;
    int run(std::size_t from, bool checked) const;
    std::size_t cp932At(std::size_t utf8Offset) const;
    std::size_t nextCharacter(std::size_t utf8Offset) const;
    void parseReplacement(std::string_view replacement) const;
    void appendExpansion(std::string_view cell, int pairs, std::string& out) const;

    std::unique_ptr<Engine> engine_;
    int errorCharacter_ = 0;
    std::string errorText_;
    mutable bool gaveUp_ = false;
    // The cell being matched: its own bytes when they are all ASCII, else the UTF-8 copy
    // with offsets_[i] the CP932 offset of the character starting at UTF-8 byte i.
    mutable bool ascii_ = true;
    mutable std::string_view subject_;
    mutable std::string utf8_;
    mutable std::string piece_;
    mutable std::vector<int> offsets_;
    mutable std::string parsedFrom_;
    mutable bool parsed_ = false;
    mutable std::vector<Piece> pieces_;
};
