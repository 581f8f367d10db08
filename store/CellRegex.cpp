// CellRegex: PCRE2 (JIT when it compiles) over cells converted to UTF-8, with the offsets back
// to the CP932 bytes.
#include "store/CellRegex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstdio>

#include "platform/core/CodePage.h"
#include "store/Cp932Text.h"
#include "store/TableLimits.h"

namespace {

constexpr const char* Replacement = "\xEF\xBF\xBD";   // U+FFFD

std::size_t utf8Length(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

bool allAscii(std::string_view text) {
    unsigned char high = 0;
    for (unsigned char c : text) high |= c;
    return high < 0x80;
}

int charactersBefore(std::string_view utf8, std::size_t offset) {
    int count = 0;
    for (std::size_t i = 0; i < offset && i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) ++count;
    return count;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameCharacter(char c) { return isDigit(c) || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

struct CellRegex::Engine {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;

    ~Engine() {
        pcre2_jit_stack_free(stack);
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
};

CellRegex::CellRegex(std::string_view pattern, bool matchCase) : engine_(std::make_unique<Engine>()) {
    std::string utf8;
    CodePage::cp932ToUtf8(pattern, utf8);
    pcre2_compile_context* compile = pcre2_compile_context_create(nullptr);
    // CR LF inside a cell is a line break: "." does not match either half of it. \C could
    // stop inside a character, so it is refused.
    if (compile) pcre2_set_newline(compile, PCRE2_NEWLINE_ANYCRLF);
    const uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_BACKSLASH_C |
                             (matchCase ? 0 : PCRE2_CASELESS);
    int error = 0;
    PCRE2_SIZE offset = 0;
    engine_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), options, &error,
                                  &offset, compile);
    pcre2_compile_context_free(compile);
    if (!engine_->code) {
        PCRE2_UCHAR reason[256];
        pcre2_get_error_message(error, reason, sizeof reason);
        errorText_ = reinterpret_cast<const char*>(reason);
        errorCharacter_ = charactersBefore(utf8, offset) + 1;
        return;
    }
    // Without the JIT (an unsupported machine) the interpreter does the same work, slower.
    const bool jit = pcre2_jit_compile(engine_->code, PCRE2_JIT_COMPLETE) == 0;
    engine_->data = pcre2_match_data_create_from_pattern(engine_->code, nullptr);
    engine_->context = pcre2_match_context_create(nullptr);
    if (engine_->context) {
        pcre2_set_match_limit(engine_->context, MatchLimit);
        pcre2_set_depth_limit(engine_->context, DepthLimit);
        if (jit) engine_->stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
        if (engine_->stack) pcre2_jit_stack_assign(engine_->context, nullptr, engine_->stack);
    }
    if (!engine_->data || !engine_->context) errorText_ = "out of memory";
}

CellRegex::~CellRegex() = default;

bool CellRegex::valid() const { return engine_->code && engine_->data && engine_->context; }

std::string CellRegex::errorMessage() const {
    char text[400];
    std::snprintf(text, sizeof text, "正規表現に誤りがあります。(%d文字目：%s)", errorCharacter_, errorText_.c_str());
    return text;
}

// Makes `cell` the subject: its own bytes when it is ASCII (CP932 and UTF-8 agree there),
// else its UTF-8 form with the offset of every character.
bool CellRegex::prepare(std::string_view cell) const {
    if (!valid() || gaveUp_) return false;
    ascii_ = allAscii(cell);
    if (ascii_) {
        subject_ = cell;
        return true;
    }
    CodePage::cp932ToUtf8(cell, utf8_);
    offsets_.resize(utf8_.size() + 1);
    std::size_t u = 0;
    std::size_t c = 0;
    for (; c < cell.size() && u < utf8_.size(); c += Cp932Text::charLength(cell, c)) {
        offsets_[u] = static_cast<int>(c);
        u += utf8Length(static_cast<unsigned char>(utf8_[u]));
    }
    // A byte pair the code page cannot read comes out as two characters: pair them up anew.
    if (c != cell.size() || u != utf8_.size())
        convertByCharacter(cell);
    offsets_[utf8_.size()] = static_cast<int>(cell.size());
    subject_ = utf8_;
    return true;
}

// One UTF-8 character for every CP932 character, U+FFFD for one that does not convert to one.
void CellRegex::convertByCharacter(std::string_view cell) const {
    utf8_.clear();
    offsets_.clear();
    for (std::size_t c = 0; c < cell.size(); c += Cp932Text::charLength(cell, c)) {
        CodePage::cp932ToUtf8(cell.substr(c, Cp932Text::charLength(cell, c)), piece_);
        if (piece_.empty() || utf8Length(static_cast<unsigned char>(piece_[0])) != piece_.size()) piece_ = Replacement;
        offsets_.resize(utf8_.size() + piece_.size());
        offsets_[utf8_.size()] = static_cast<int>(c);
        utf8_ += piece_;
    }
    offsets_.resize(utf8_.size() + 1);
}

// The number of pairs set in the ovector (at least 1) on a match, 0 when there is none,
// negative when the pattern gave up.
int CellRegex::run(std::size_t from, bool checked) const {
    if (gaveUp_) return -1;
    const uint32_t options = (ascii_ || !checked) ? PCRE2_NO_UTF_CHECK : 0;
    const int rc = pcre2_match(engine_->code, reinterpret_cast<PCRE2_SPTR>(subject_.data()), subject_.size(), from,
                               options, engine_->data, engine_->context);
    if (rc == PCRE2_ERROR_NOMATCH) return 0;
    if (rc < 0) {
        gaveUp_ = true;
        return rc;
    }
    return rc == 0 ? static_cast<int>(pcre2_get_ovector_count(engine_->data)) : rc;
}

std::size_t CellRegex::cp932At(std::size_t utf8Offset) const {
    return ascii_ ? utf8Offset : static_cast<std::size_t>(offsets_[utf8Offset]);
}

std::size_t CellRegex::nextCharacter(std::size_t utf8Offset) const {
    return utf8Offset + utf8Length(static_cast<unsigned char>(subject_[utf8Offset]));
}

bool CellRegex::matches(std::string_view cell) const { return prepare(cell) && run(0, true) > 0; }

bool CellRegex::firstMatch(std::string_view cell, std::size_t& start, std::size_t& end) const {
    if (!prepare(cell) || run(0, true) <= 0) return false;
    const PCRE2_SIZE* pairs = pcre2_get_ovector_pointer(engine_->data);
    start = cp932At(pairs[0]);
    end = cp932At(std::max(pairs[0], pairs[1]));
    return true;
}

void CellRegex::parseReplacement(std::string_view replacement) const {
    if (parsed_ && parsedFrom_ == replacement) return;
    parsed_ = true;
    parsedFrom_ = replacement;
    pieces_.clear();
    auto literal = [this](std::string_view text) {
        if (pieces_.empty() || pieces_.back().group >= 0) pieces_.push_back({-1, {}});
        pieces_.back().text += text;
    };
    for (std::size_t i = 0; i < replacement.size();) {
        const int length = Cp932Text::charLength(replacement, i);
        const char next = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
        if (replacement[i] != '$' || (next != '$' && next != '{' && !isDigit(next))) {
            literal(replacement.substr(i, length));
            i += length;
        } else if (next == '$') {
            literal("$");
            i += 2;
        } else if (isDigit(next)) {
            pieces_.push_back({next - '0', {}});
            i += 2;
        } else {
            std::size_t close = i + 2;
            while (close < replacement.size() && isNameCharacter(replacement[close])) ++close;
            if (close == i + 2 || close >= replacement.size() || replacement[close] != '}') {
                literal("$");
                ++i;
                continue;
            }
            const std::string name(replacement.substr(i + 2, close - i - 2));
            int group = std::all_of(name.begin(), name.end(), isDigit)
                            ? (name.size() <= 4 ? std::stoi(name) : 100000)
                            : pcre2_substring_number_from_name(engine_->code, reinterpret_cast<PCRE2_SPTR>(name.c_str()));
            // An unknown name inserts nothing, like a group that did not take part.
            pieces_.push_back({group < 0 ? 100000 : group, {}});
            i = close + 1;
        }
    }
}

void CellRegex::appendExpansion(std::string_view cell, int pairs, std::string& out) const {
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(engine_->data);
    for (const Piece& piece : pieces_) {
        if (piece.group < 0) {
            out += piece.text;
        } else if (piece.group < pairs && vector[2 * piece.group] != PCRE2_UNSET) {
            const std::size_t from = cp932At(vector[2 * piece.group]);
            const std::size_t to = cp932At(std::max(vector[2 * piece.group], vector[2 * piece.group + 1]));
            out.append(cell.substr(from, to - from));
        }
    }
}

int CellRegex::replace(std::string_view cell, std::string_view replacement, std::string& out) const {
    out.clear();
    if (!prepare(cell)) return gaveUp_ ? GaveUp : 0;
    parseReplacement(replacement);
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(engine_->data);
    std::size_t from = 0;     // UTF-8 offset where the next match may start
    std::size_t copied = 0;   // CP932 bytes of the cell already handled
    bool any = false;
    while (from <= subject_.size()) {
        const int pairs = run(from, !any);
        if (pairs < 0) return GaveUp;
        if (pairs == 0) break;
        const std::size_t start = std::max<std::size_t>(vector[0], from);
        const std::size_t end = std::max<std::size_t>(vector[1], start);
        out.append(cell.substr(copied, cp932At(start) - copied));
        appendExpansion(cell, pairs, out);
        copied = cp932At(end);
        any = true;
        if (out.size() >= static_cast<std::size_t>(TableLimits::MaxCellBytes)) return TooLong;
        // After an empty match the next one starts one character further on.
        if (end > start) from = end;
        else if (end < subject_.size()) from = nextCharacter(end);
        else break;
    }
    if (!any) return 0;
    out.append(cell.substr(copied));
    if (out.size() >= static_cast<std::size_t>(TableLimits::MaxCellBytes)) return TooLong;
    return out == cell ? 0 : 1;
}
