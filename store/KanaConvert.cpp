// KanaConvert: the width, kana and case conversion of one cell's Shift-JIS text.
#include "store/KanaConvert.h"

#include <array>
#include <cstdint>

#include "platform/core/CodePage.h"

namespace {

// Full-width katakana and hiragana are numbered alike: ァ/ぁ is 0, ア/あ 1, ... ン/ん 82, and
// ヴ 83 (katakana only). Katakana code = 0x8340 + n (+1 past n 62, skipping trail 0x7F);
// hiragana code = 0x829F + n.
constexpr int KanaCount = 84;
constexpr int VuIndex = 83;

// Index of each half-width katakana A6..DD, and whether ﾞ (voiced) or ﾟ (semi-voiced) merges
// with it into index + 1 or + 2. B0 (ｰ) lies in the range but is not a kana.
struct HalfKana {
    int8_t index;
    bool voiced;
    bool semiVoiced;
};
constexpr uint8_t FirstHalfKana = 0xA6;
constexpr uint8_t LastHalfKana = 0xDD;
constexpr HalfKana kHalfKana[LastHalfKana - FirstHalfKana + 1] = {
    {81, 0, 0}, {0, 0, 0},  {2, 0, 0},  {4, 0, 0},  {6, 0, 0},  {8, 0, 0},   // ｦｧｨｩｪｫ
    {66, 0, 0}, {68, 0, 0}, {70, 0, 0}, {34, 0, 0}, {-1, 0, 0},              // ｬｭｮｯ ｰ
    {1, 0, 0},  {3, 0, 0},  {5, 1, 0},  {7, 0, 0},  {9, 0, 0},               // ｱｲｳｴｵ
    {10, 1, 0}, {12, 1, 0}, {14, 1, 0}, {16, 1, 0}, {18, 1, 0},              // ｶｷｸｹｺ
    {20, 1, 0}, {22, 1, 0}, {24, 1, 0}, {26, 1, 0}, {28, 1, 0},              // ｻｼｽｾｿ
    {30, 1, 0}, {32, 1, 0}, {35, 1, 0}, {37, 1, 0}, {39, 1, 0},              // ﾀﾁﾂﾃﾄ
    {41, 0, 0}, {42, 0, 0}, {43, 0, 0}, {44, 0, 0}, {45, 0, 0},              // ﾅﾆﾇﾈﾉ
    {46, 1, 1}, {49, 1, 1}, {52, 1, 1}, {55, 1, 1}, {58, 1, 1},              // ﾊﾋﾌﾍﾎ
    {61, 0, 0}, {62, 0, 0}, {63, 0, 0}, {64, 0, 0}, {65, 0, 0},              // ﾏﾐﾑﾒﾓ
    {67, 0, 0}, {69, 0, 0}, {71, 0, 0},                                       // ﾔﾕﾖ
    {72, 0, 0}, {73, 0, 0}, {74, 0, 0}, {75, 0, 0}, {76, 0, 0},              // ﾗﾘﾙﾚﾛ
    {78, 0, 0}, {82, 0, 0},                                                   // ﾜﾝ
};
constexpr uint8_t VoicedMark = 0xDE;      // ﾞ
constexpr uint8_t SemiVoicedMark = 0xDF;  // ﾟ
constexpr uint8_t HalfU = 0xB3;           // ｳ
constexpr uint8_t HalfLongVowel = 0xB0;   // ｰ
constexpr uint8_t HalfMiddleDot = 0xA5;   // ･

// Half-width spelling of each kana index: the base byte and an optional mark. Indices
// without a half-width form (ヮ ヰ ヱ and the small ヵ ヶ beyond the table) have base 0.
struct HalfSpelling {
    uint8_t base = 0;
    uint8_t mark = 0;
};
constexpr std::array<HalfSpelling, KanaCount> makeHalfSpellings() {
    std::array<HalfSpelling, KanaCount> table{};
    for (int b = FirstHalfKana; b <= LastHalfKana; ++b) {
        const HalfKana& k = kHalfKana[b - FirstHalfKana];
        if (k.index < 0) continue;
        table[k.index] = {static_cast<uint8_t>(b), 0};
        if (k.voiced && b != HalfU) table[k.index + 1] = {static_cast<uint8_t>(b), VoicedMark};
        if (k.semiVoiced) table[k.index + 2] = {static_cast<uint8_t>(b), SemiVoicedMark};
    }
    table[VuIndex] = {HalfU, VoicedMark};
    return table;
}
constexpr std::array<HalfSpelling, KanaCount> kHalfSpellings = makeHalfSpellings();

// ASCII symbols and their full-width partners (all with lead byte 0x81). The backslash is
// handled apart: its partner is ￥ (818F), or ＼ (815F) on request.
struct SymbolPair {
    char ascii;
    uint8_t trail;
};
constexpr SymbolPair kSymbols[] = {
    {'!', 0x49}, {'"', 0x68}, {'#', 0x94}, {'$', 0x90}, {'%', 0x93}, {'&', 0x95},
    {'\'', 0x66}, {'(', 0x69}, {')', 0x6A}, {'*', 0x96}, {'+', 0x7B}, {',', 0x43},
    {'-', 0x7C}, {'.', 0x44}, {'/', 0x5E}, {':', 0x46}, {';', 0x47}, {'<', 0x83},
    {'=', 0x81}, {'>', 0x84}, {'?', 0x48}, {'@', 0x97}, {'[', 0x6D}, {']', 0x6E},
    {'^', 0x4F}, {'_', 0x51}, {'`', 0x65}, {'{', 0x6F}, {'|', 0x62}, {'}', 0x70},
    {'~', 0x50},
};
constexpr uint8_t SymbolLead = 0x81;
constexpr uint8_t YenTrail = 0x8F;
constexpr uint8_t WideBackslashTrail = 0x5F;
constexpr uint8_t WideSpaceTrail = 0x40;

// 、。「」 and ・゛゜ー with their half-width partners.
struct MarkPair {
    uint8_t trail;
    uint8_t half;
};
constexpr MarkPair kPunctuation[] = {{0x41, 0xA4}, {0x42, 0xA1}, {0x75, 0xA2}, {0x76, 0xA3}};
constexpr MarkPair kKanaMarks[] = {{0x45, HalfMiddleDot}, {0x4A, VoicedMark},
                                   {0x4B, SemiVoicedMark}, {0x5B, HalfLongVowel}};

int halfOf(const MarkPair* table, int size, uint8_t trail) {
    for (int i = 0; i < size; ++i)
        if (table[i].trail == trail) return table[i].half;
    return -1;
}
int trailOf(const MarkPair* table, int size, uint8_t half) {
    for (int i = 0; i < size; ++i)
        if (table[i].half == half) return table[i].trail;
    return -1;
}

bool isTrail(uint8_t c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// What the previous character was: the marks ・゛゜ー (and ･ｰﾞﾟ) follow the kana before them.
enum class CharClass { Single, HalfKana, OtherDouble, Hiragana, Katakana };

class Converter {
public:
    Converter(std::string_view text, unsigned options) : in_(text), options_(options) {
        out_.reserve(text.size() * 2 + 10);
    }

    std::optional<std::string> run() {
        while (pos_ < in_.size()) {
            const uint8_t c = byte(pos_);
            if (c < 0x80) {
                ascii(c);
            } else if (CodePage::isLeadByte(c)) {
                if (pos_ + 1 >= in_.size()) {  // a lone lead byte at the end is one character
                    put(c);
                    ++pos_;
                    continue;
                }
                if (!isTrail(byte(pos_ + 1))) return std::nullopt;
                doubleByte(c, byte(pos_ + 1));
            } else if (c >= 0xA1 && c <= 0xDF) {
                halfWidth(c);
            } else {
                put(c);  // 0x80, 0xA0 and 0xFD-0xFF
                ++pos_;
                previous_ = CharClass::Single;
            }
        }
        return std::move(out_);
    }

private:
    uint8_t byte(std::size_t at) const { return static_cast<uint8_t>(in_[at]); }
    bool has(unsigned bits) const { return (options_ & bits) != 0; }
    void put(uint8_t c) { out_.push_back(static_cast<char>(c)); }
    void put(uint8_t lead, uint8_t trail) {
        put(lead);
        put(trail);
    }

    void ascii(uint8_t c) {
        ++pos_;
        previous_ = CharClass::Single;
        if (c == ' ' && has(ToFullSpace)) return put(SymbolLead, WideSpaceTrail);
        if (c >= '0' && c <= '9' && has(ToFullDigits)) return put(0x82, c + 0x1F);
        if (c >= 'A' && c <= 'Z' && has(ToFullLetters)) return put(0x82, c + 0x1F);
        if (c >= 'a' && c <= 'z' && has(ToFullLetters)) return put(0x82, c + 0x20);
        if (has(ToFullSymbols)) {
            if (c == '\\') return put(SymbolLead, has(WideBackslash) ? WideBackslashTrail : YenTrail);
            for (const SymbolPair& s : kSymbols)
                if (s.ascii == static_cast<char>(c)) return put(SymbolLead, s.trail);
        }
        put(c);
    }

    // The marks ･ ｰ ﾞ ﾟ convert after a half-width kana when kana convert, elsewhere with
    // the punctuation bit; they leave the class of the character before them in place.
    bool halfMarkConverts() const {
        return previous_ == CharClass::HalfKana ? has(HalfToKatakana | HalfToHiragana)
                                                : has(ToFullPunctuation);
    }

    void halfWidth(uint8_t c) {
        ++pos_;
        if (int trail = trailOf(kPunctuation, 4, c); trail >= 0) {
            previous_ = CharClass::Single;
            return has(ToFullPunctuation) ? put(SymbolLead, trail) : put(c);
        }
        if (int trail = trailOf(kKanaMarks, 4, c); trail >= 0)
            return halfMarkConverts() ? put(SymbolLead, trail) : put(c);
        previous_ = CharClass::HalfKana;
        if (!has(HalfToKatakana | HalfToHiragana)) return put(c);
        halfKana(c, kHalfKana[c - FirstHalfKana]);
    }

    void halfKana(uint8_t c, const HalfKana& kana) {
        int index = kana.index;
        const uint8_t next = pos_ < in_.size() ? byte(pos_) : 0;
        const bool merge = !has(KeepSoundMarks);
        if (merge && next == VoicedMark && kana.voiced) {
            ++pos_;
            if (c == HalfU) return voicedU();
            index += 1;
        } else if (merge && next == SemiVoicedMark && kana.semiVoiced) {
            ++pos_;
            index += 2;
        }
        putKana(index);
    }

    // There is no voiced う: towards hiragana ｳﾞ becomes う followed by ゛.
    void voicedU() {
        if (has(HalfToKatakana)) return putKana(VuIndex);
        putKana(kHalfKana[HalfU - FirstHalfKana].index);
        put(SymbolLead, 0x4A);
    }

    void putKana(int index) {
        if (has(HalfToKatakana)) return put(0x83, 0x40 + index + (index > 62 ? 1 : 0));
        put(0x82, 0x9F + index);
    }

    void putHalf(int index, uint8_t lead, uint8_t trail) {
        const HalfSpelling s = index >= 0 && index < KanaCount ? kHalfSpellings[index] : HalfSpelling{};
        if (s.base == 0) return put(lead, trail);
        put(s.base);
        if (s.mark) put(s.mark);
    }

    void doubleByte(uint8_t lead, uint8_t trail) {
        pos_ += 2;
        if (lead == SymbolLead) return symbolRow(trail);
        if (lead == 0x82) return secondRow(trail);
        if (lead == 0x83 && trail <= 0x96) {
            previous_ = CharClass::Katakana;
            if (trail <= 0x94 && has(KatakanaToHalf))
                return putHalf(trail - 0x40 - (trail > 0x7F ? 1 : 0), lead, trail);
            return put(lead, trail);
        }
        previous_ = CharClass::OtherDouble;
        put(lead, trail);
    }

    void secondRow(uint8_t trail) {
        previous_ = CharClass::OtherDouble;
        if (trail >= 0x4F && trail <= 0x58 && has(ToHalfDigits)) return put(trail - 0x1F);
        if (trail >= 0x60 && trail <= 0x79 && has(ToHalfLetters)) return put(trail - 0x1F);
        if (trail >= 0x81 && trail <= 0x9A && has(ToHalfLetters)) return put(trail - 0x20);
        if (trail >= 0x9F && trail <= 0xF1) {
            previous_ = CharClass::Hiragana;
            if (has(HiraganaToHalf)) return putHalf(trail - 0x9F, 0x82, trail);
        }
        put(0x82, trail);
    }

    // ・゛゜ー follow the kana before them; elsewhere the punctuation bit decides.
    bool wideMarkConverts() const {
        if (previous_ == CharClass::Hiragana) return has(HiraganaToHalf);
        if (previous_ == CharClass::Katakana) return has(KatakanaToHalf);
        return has(ToHalfPunctuation);
    }

    void symbolRow(uint8_t trail) {
        if (int half = halfOf(kKanaMarks, 4, trail); half >= 0)
            return wideMarkConverts() ? put(half) : put(SymbolLead, trail);
        previous_ = CharClass::OtherDouble;
        if (trail == WideSpaceTrail && has(ToHalfSpace | ToHalfSymbols)) return put(' ');
        if (int half = halfOf(kPunctuation, 4, trail); half >= 0)
            return has(ToHalfPunctuation) ? put(half) : put(SymbolLead, trail);
        if (has(ToHalfSymbols)) {
            const uint8_t backslash = has(WideBackslash) ? WideBackslashTrail : YenTrail;
            if (trail == backslash) return put('\\');
            for (const SymbolPair& s : kSymbols)
                if (s.trail == trail) return put(static_cast<uint8_t>(s.ascii));
        }
        put(SymbolLead, trail);
    }

    std::string_view in_;
    unsigned options_;
    std::string out_;
    std::size_t pos_ = 0;
    CharClass previous_ = CharClass::Single;
};

}  // namespace

std::optional<std::string> KanaConvert::convert(std::string_view text, unsigned options,
                                                CaseChange change) {
    std::optional<std::string> result = Converter(text, options).run();
    if (result) changeCase(*result, change);
    return result;
}

void KanaConvert::changeCase(std::string& text, CaseChange change) {
    if (change == CaseChange::None) return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (CodePage::isLeadByte(c) && i + 1 < text.size()) {
            ++i;
        } else if (change == CaseChange::Upper && c >= 'a' && c <= 'z') {
            text[i] = static_cast<char>(c - ('a' - 'A'));
        } else if (change == CaseChange::Lower && c >= 'A' && c <= 'Z') {
            text[i] = static_cast<char>(c + ('a' - 'A'));
        }
    }
}
