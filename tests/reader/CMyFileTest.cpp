// Tests of CMyFile: opening, encoding recognition, the cut walks, control bytes and writing.
#include "ReaderFixtures.h"
#include "store/CMyFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include "platform/core/GivenCodes.h"

namespace {

struct Detected {
    int status;
    int encoding;
    bool bom;
    int dataStart;
};

Detected detect(const std::string& path, int configured, bool allowChange) {
    CMyFile file;
    EXPECT_EQ(file.open(path, CMyFile::ModeRead, configured), 0);
    Detected d{};
    d.status = file.detectEncoding(allowChange, d.encoding, d.bom);
    d.dataStart = file.dataStart;
    return d;
}

// Every piece of a file as CMyFile hands it out.
std::vector<std::string> pieces(const std::string& path, int encoding, CMyFile* keep = nullptr) {
    CMyFile local;
    CMyFile& file = keep ? *keep : local;
    EXPECT_EQ(file.open(path, CMyFile::ModeRead, encoding), 0);
    int enc;
    bool bom;
    file.detectEncoding(false, enc, bom);
    std::vector<std::string> out;
    for (;;) {
        int length = -1;
        const char* text = file.readChunk(length);
        EXPECT_NE(text, nullptr);
        if (!text || length == 0) break;
        EXPECT_EQ(text[length], '\0');
        out.emplace_back(text, length);
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const auto& p : parts) all += p;
    return all;
}

} // namespace

TEST(CMyFileOpen, ModesAndMessages) {
    TempHome home;
    CMyFile file;
    EXPECT_EQ(file.open(home.file("missing.csv"), CMyFile::ModeRead, 0), -1);
    EXPECT_EQ(file.errorText.rfind("ファイルオープンに失敗しました。(", 0), 0u);
    EXPECT_EQ(file.errorFlag, 1);
    EXPECT_EQ(file.open(home.file("x"), 7, 0), -1);
    ASSERT_EQ(file.open(home.file("new.csv"), CMyFile::ModeWrite, 0), 0);
    EXPECT_EQ(file.errorFlag, 0);
    EXPECT_EQ(file.open(home.file("other.csv"), CMyFile::ModeRead, 0), -2);
    EXPECT_EQ(file.errorText, "既に開かれています。");
    EXPECT_EQ(file.close(), 0);
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(CMyFile::fileMissing(home.file("new.csv")));
    EXPECT_TRUE(CMyFile::fileMissing(home.file("nothing.csv")));
    EXPECT_FALSE(CMyFile::fileMissing(""));

    // A zero byte in a path would make the system open the file named by the part before it.
    std::string cut = home.file("new.csv") + std::string("\0.vxc", 5);
    CMyFile zero;
    EXPECT_EQ(zero.open(cut, CMyFile::ModeRead, 0), -1);
    EXPECT_EQ(zero.errorText.rfind("ファイルオープンに失敗しました。(", 0), 0u);
    EXPECT_FALSE(zero.isOpen());
    EXPECT_EQ(zero.open(home.file("made.csv") + std::string("\0x", 2), CMyFile::ModeWrite, 0), -1);
    EXPECT_TRUE(CMyFile::fileMissing(home.file("made.csv")));
    EXPECT_TRUE(CMyFile::fileMissing(cut));
}

TEST(CMyFileDetect, EmptyOneByteAndMarks) {
    TempHome home;
    Detected empty = detect(home.write("e.csv", ""), 0, true);
    EXPECT_EQ(empty.status, -1);
    EXPECT_EQ(empty.dataStart, 0);
    Detected one = detect(home.write("o.csv", "a"), 0, true);
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.encoding, 0);

    Detected utf8 = detect(home.write("u.csv", "\xEF\xBB\xBF\x82\xA0"), 0, true);
    EXPECT_EQ(utf8.status, 2);
    EXPECT_EQ(utf8.encoding, 15);
    EXPECT_TRUE(utf8.bom);
    EXPECT_EQ(utf8.dataStart, 3);
    EXPECT_EQ(detect(home.file("u.csv"), 15, false).status, 1);
    EXPECT_EQ(detect(home.file("u.csv"), 0, false).status, -2);

    Detected le = detect(home.write("le.csv", std::string("\xFF\xFE" "a\0", 4)), 0, true);
    EXPECT_EQ(le.encoding, 10);
    EXPECT_EQ(le.dataStart, 2);
    Detected be = detect(home.write("be.csv", std::string("\xFE\xFF\0a", 4)), 0, true);
    EXPECT_EQ(be.encoding, 11);
    // EF BB without BF is no mark.
    Detected half = detect(home.write("h.csv", "\xEF\xBB" "a"), 0, true);
    EXPECT_FALSE(half.bom);
    EXPECT_EQ(half.dataStart, 0);
}

TEST(CMyFileDetect, ContentScanRules) {
    TempHome home;
    EXPECT_EQ(detect(home.write("a", "abc,def\r\n"), 0, true).encoding, 0);
    EXPECT_EQ(detect(home.write("z", std::string("ab\0c", 4)), 0, true).encoding, 10);
    EXPECT_EQ(detect(home.write("u", "a,\xE3\x81\x82\r\n"), 0, true).encoding, 15);
    // A Shift-JIS pair before any UTF-8 sequence decides for Shift-JIS.
    EXPECT_EQ(detect(home.write("s", "\x82\xA0,\xE3\x81\x82"), 0, true).encoding, 0);
    // 0x80-0x9F after a UTF-8 sequence: the fallback does not override the UTF-8 count.
    EXPECT_EQ(detect(home.write("m", "\xE3\x81\x82\x82\xA0"), 0, true).encoding, 15);
    EXPECT_EQ(detect(home.write("k", "\xB1\xB2"), 0, true).encoding, 0);
    // A lone 0xFE without any count falls back to UTF-16.
    EXPECT_EQ(detect(home.write("f", "ab\xFE"), 0, true).encoding, 10);
    // Four-byte UTF-8 sequences count for UTF-8.
    EXPECT_EQ(detect(home.write("e", "a\xF0\x9F\x98\x80"), 0, true).encoding, 15);
    // Without allowChange the configured encoding stays.
    Detected fixed = detect(home.file("u"), 0, false);
    EXPECT_EQ(fixed.status, 0);
    EXPECT_EQ(fixed.encoding, 0);
}

// One file per branch of the scan, each decided by the rule named beside it.
TEST(CMyFileDetect, EveryBranchOfTheContentScan) {
    TempHome home;
    struct Case { const char* bytes; int length; int expected; const char* rule; };
    const Case cases[] = {
        {"a\x81", 2, 0, "0x80-0x9F at the end stops undecided"},
        {"\x81 ", 2, 10, "0x80-0x9F before a byte that is no second byte"},
        {"\x81\x7F", 2, 10, "0x7F is no second byte"},
        {"\x9F\xFC", 2, 0, "0x80-0x9F with a second byte in 0x80-0xFC"},
        {"\xA0", 1, 0, "one byte: no scan"},
        {"a\xA0", 2, 0, "0xA0-0xC1 counts for Shift-JIS"},
        {"a\xC1", 2, 0, "0xC1 as well"},
        {"\xC3\xA9", 2, 15, "0xC2-0xDF with a continuation byte counts nothing; both readings hold: UTF-8"},
        {"\xC3\xA9\xE3\x81\x82", 5, 15, "then a three-byte sequence decides"},
        {"\xC3" "A", 2, 0, "0xC2-0xDF without a continuation byte counts for Shift-JIS"},
        {"a\xE3\x81", 3, 0, "0xE0-0xEF with one byte after it stops undecided"},
        {"\xE3\x41\x41", 3, 0, "0xE0-0xEF before 0x40-0x7E"},
        {"\xE3\x81" "a", 3, 0, "0xE0-0xEF, a continuation byte, then none"},
        {"\xE3\xC0" "a", 3, 0, "0xE0-0xEF before 0xC0-0xFE"},
        {"\xE3\xFF" "a", 3, 10, "0xE0-0xEF before 0xFF"},
        {"\xE3 a", 3, 10, "0xE0-0xEF before a byte below 0x40"},
        {"\xF0\x80" "ab", 4, 0, "F0 80 is no UTF-8 but a Shift-JIS pair: Shift-JIS"},
        {"\xF0" "abc", 4, 0, "F0 61 is a Shift-JIS pair and no UTF-8"},
        {"\xF0 bc", 4, 10, "neither reading holds; 0xF0-0xF7 without any continuation byte"},
        {"\xF0\x80 \xFF", 4, 15, "neither reading holds; 0xF0-0xF7 with a continuation byte"},
        {"\xF0\x9F\x98", 3, 0, "0xF0-0xF7 running past the scanned bytes stops"},
        {"\xF8\x80" "abc", 5, 0, "F8 80 is no UTF-8 but a Shift-JIS pair"},
        {"\xF8\x80 \xFF\xFF", 5, 15, "neither reading holds; 0xF8-0xFB: five bytes"},
        {"\xFC\x80" "abcd", 6, 0, "FC 80 is no UTF-8 but a Shift-JIS pair"},
        {"\xFC\x80 \xFF\xFF\xFF", 6, 15, "neither reading holds; 0xFC-0xFD: six bytes"},
        {"\xFC\x80" "abc", 5, 0, "0xFC-0xFD running past the end"},
        {"\xB1\xF0\x9F\x98\x80", 5, 0, "0xF0-0xF7 after a Shift-JIS count: Shift-JIS stands"},
        {"\xE3\x81\x82\x82\xA0", 5, 15, "0x80-0x9F after a UTF-8 count: UTF-8 stands"},
        {"ab\xFF", 3, 10, "0xFF falls back to UTF-16"},
        {"\x82\xA0\0", 3, 10, "a zero byte decides whatever was counted"},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = home.write("s" + std::to_string(n++), std::string(c.bytes, c.length));
        Detected d = detect(path, 0, true);
        EXPECT_EQ(d.status, 0) << c.rule;
        EXPECT_EQ(d.encoding, c.expected) << c.rule;
        EXPECT_FALSE(d.bom) << c.rule;
        EXPECT_EQ(d.dataStart, 0) << c.rule;
    }
}

TEST(CMyFileDetect, AsciiStartScansOnForUtf8) {
    TempHome home;
    std::string ascii(5000, 'a');
    EXPECT_EQ(detect(home.write("u", ascii + "\xE3\x81\x82"), 0, true).encoding, 15);
    EXPECT_EQ(detect(home.write("s", ascii + "\x82\xA0"), 0, true).encoding, 0);
    EXPECT_EQ(detect(home.write("p", ascii), 0, true).encoding, 0);
    // Beyond the first megabyte nothing more is looked at.
    std::string far(1024 * 1024 + 10, 'a');
    EXPECT_EQ(detect(home.write("f", far + "\xE3\x81\x82"), 0, true).encoding, 0);
}

// Real files whose first evidence misleads the walk: the reading that is well-formed wins.
TEST(CMyFileDetect, TheWellFormedReadingDecides) {
    TempHome home;
    struct Case { std::string bytes; int expected; const char* what; };
    const Case cases[] = {
        {"\xFB\xFC\x8B\xB4,\x93\x8C\x8B\x9E\r\n", 0, "Shift-JIS starting with FB FC (IBM kanji)"},
        {"\xEA\x8E\x93\xA1\r\n", 0, "Shift-JIS starting with EA 8E (level-2 kanji)"},
        {"Fu\xC3\x9F\r\n", 15, "UTF-8 sharp s"},
        {"Fu\xC3\x9F", 15, "UTF-8 sharp s at the end of the file"},
        {"3\xC3\x97" "2\r\n", 15, "UTF-8 multiplication sign"},
        {"Stra\xC3\x9F" "e,\xC3\x84\r\n", 15, "UTF-8 umlauts"},
        {"\xB1\xB2\xB3,\xC3\xDE\xB0\xC0\r\n", 0, "half-width kana"},
        {"25\xC2\xB0" "C\r\n", 15, "both readings hold, no evidence, a two-byte sequence: UTF-8"},
        {"\xC2\xB1" "1,\xCE\xB1\xCE\xB2,\xD0\xB4\r\n", 15, "plus-minus, Greek, Cyrillic"},
        {"\xC3\xA9\x82\xA0\r\n", 0, "both fail: the walk counts the Shift-JIS pair"},
        // A sequence cut by the end of the first 1000 bytes counts against neither reading.
        {std::string(999, 'a') + "\xE3\x81\x82\r\n", 15, "UTF-8 across byte 1000"},
        {std::string(999, 'a') + "\x82\xA0\r\n", 0, "Shift-JIS across byte 1000"},
    };
    int n = 0;
    for (const Case& c : cases) {
        Detected d = detect(home.write("w" + std::to_string(n++), c.bytes), 0, true);
        EXPECT_EQ(d.encoding, c.expected) << c.what;
    }
}

// Broken UTF-8 in a file read as UTF-8 (overlong forms, surrogates, five-byte forms, beyond
// U+10FFFF) becomes "?", never a control byte.
TEST(CMyFileChunks, BrokenUtf8BecomesQuestionMarks) {
    TempHome home;
    const std::string bytes = "a\xC0\x80" "b\xE0\x80\x80" "c\xED\xA0\x80" "d\xF8\x88\x80\x80\x80"
                              "e\xF4\x90\x80\x80" "f\xC1\xBF" "g\r\n";
    CMyFile file;
    std::string text = joined(pieces(home.write("bad.csv", bytes), 15, &file));
    EXPECT_EQ(text, "a??b?c?d?????e?f??g\r\n");
    EXPECT_GT(file.unrepresentableCharacters(), 0);
}

TEST(CMyFileChunks, ShiftJisCutKeepsDoubleByteAndDoubledQuote) {
    TempHome home;
    std::string text(1017, 'a');
    text += "\x82\xA0";   // across byte 1018
    text += std::string(981, 'b');
    auto parts = pieces(home.write("s.csv", text), 0);
    ASSERT_GE(parts.size(), 2u);
    EXPECT_EQ(parts[0].size(), 1019u);
    EXPECT_EQ(joined(parts), text);

    std::string quotes(1017, 'a');
    quotes += "\"\"tail";
    quotes += std::string(1200, 'c');
    parts = pieces(home.write("q.csv", quotes), 0);
    EXPECT_EQ(parts[0].size(), 1019u);
    EXPECT_EQ(joined(parts), quotes);

    std::string crlf(1017, 'a');
    crlf += "\r\n";
    crlf += std::string(1200, 'c');
    parts = pieces(home.write("c.csv", crlf), 0);
    EXPECT_EQ(parts[0].size(), 1019u);
}

// Where the first piece ends, rule by rule (the cut counts from the first data byte).
TEST(CMyFileChunks, FirstCutFollowsTheWalk) {
    TempHome home;
    const std::string rest(1500, 'z');
    auto a = [](int n) { return std::string(n, 'a'); };
    struct Case { std::string data; int encoding; size_t firstPiece; const char* rule; };
    const Case cases[] = {
        {a(1018) + "b" + rest, 0, 1018, "stop at 1018"},
        {a(1018) + "\t" + rest, 0, 1019, "a TAB at the stop is included"},
        {a(1018) + "\r\n" + rest, 0, 1020, "CR LF at the stop is included"},
        {a(1018) + "\r\r" + rest, 0, 1019, "a lone CR at the stop is included alone"},
        {a(1018) + "\n\t" + rest, 0, 1020, "an LF goes with the byte before it, then the TAB at the stop"},
        {a(1016) + "\"\"\"" + rest, 0, 1018, "a doubled quote is one step; a third quote is not taken"},
        {a(1017) + "\"\n\t" + rest, 0, 1019, "an LF does not go with a quote: it is the one at the stop"},
        {a(1016) + "\x82\xA0" "\t" + rest, 0, 1019, "a double-byte character, then the TAB at the stop"},
        {a(1016) + "表" + rest, 15, 1018, "a UTF-8 sequence whole (1019 bytes, 1018 in CP932)"},
        {a(1015) + "𠀋" + rest, 15, 1017, "a four-byte UTF-8 sequence whole, as one lent code"},
        {a(1017) + "\xE8\xA1" "b" + rest, 15, 1018, "a broken sequence ends before its first non-continuation byte"},
        {a(1016) + "\xE8" "あ" + rest, 15, 1019, "a broken sequence never takes the bytes of the next character"},
    };
    int n = 0;
    for (const Case& c : cases) {
        auto parts = pieces(home.write("c" + std::to_string(n++), c.data), c.encoding);
        ASSERT_GE(parts.size(), 2u) << c.rule;
        EXPECT_EQ(parts[0].size(), c.firstPiece) << c.rule;
        if (c.encoding == 15 && c.data.find("\xE8" "あ") != std::string::npos) {
            EXPECT_EQ(joined(parts), a(1016) + "?" + sj("あ") + rest) << c.rule;
        }
    }
    // UTF-16 after its mark: 16-bit units, stop at 1014 bytes (507 units).
    auto utf16 = [](const std::u16string& units) {
        std::string bytes("\xFF\xFE", 2);
        for (char16_t u : units) {
            bytes += static_cast<char>(u & 0xFF);
            bytes += static_cast<char>(u >> 8);
        }
        return bytes;
    };
    const std::u16string tail(800, u'z');
    struct WideCase { std::u16string units; size_t firstPiece; const char* rule; };
    const WideCase wide[] = {
        {std::u16string(507, u'a') + u"b" + tail, 507, "stop at 1014 bytes"},
        {std::u16string(507, u'a') + u"\t" + tail, 508, "a TAB unit at the stop"},
        {std::u16string(507, u'a') + u"\r\n" + tail, 509, "CR LF units at the stop"},
        {std::u16string(506, u'a') + u"\n\n" + tail, 508, "an LF unit goes along, the next at the stop"},
        {std::u16string(506, u'a') + u"\xD840\xDC0B" + tail, 508, "a surrogate pair is one step"},
        {std::u16string(506, u'a') + u"\"\"\n" + tail, 509, "a doubled quote and the LF after it"},
        {std::u16string(505, u'a') + u"\xDC00\xD840\xDC0B" + tail, 508,
         "a lone low surrogate is one unit, the pair after it stays whole"},
    };
    for (const WideCase& c : wide) {
        CMyFile file;
        auto parts = pieces(home.write("w" + std::to_string(n++), utf16(c.units)), 10, &file);
        ASSERT_GE(parts.size(), 2u) << c.rule;
        EXPECT_EQ(parts[0].size(), c.firstPiece) << c.rule;
        if (c.units[505] == 0xDC00) {
            EXPECT_EQ(joined(parts), std::string(505, 'a') + "?" + sj("\U0002000B") + std::string(800, 'z'));
            EXPECT_EQ(file.unrepresentableCharacters(), 1);
        }
    }
}

TEST(CMyFileChunks, Utf8AndUtf16KeepCharactersWhole) {
    TempHome home;
    std::string cells;
    GivenCodes::reset();
    for (int i = 0; i < 600; ++i) cells += sj("表ｱ𠀋,\"\"\r\n");
    // The character outside CP932 comes out as its lent code.
    const std::string expected = cells;
    ASSERT_NE(expected.find("\xF0\x40"), std::string::npos);
    for (int encoding : {15, 10, 11}) {
        std::string body;
        for (int i = 0; i < 600; ++i) body += "表ｱ𠀋,\"\"\r\n";
        std::string bytes;
        if (encoding == 15) {
            bytes = "\xEF\xBB\xBF" + body;
        } else {
            std::u16string wide;
            for (size_t i = 0; i < body.size();) {
                unsigned char c = body[i];
                uint32_t cp;
                int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                cp = len == 1 ? c : c & (0xFF >> (len + 1));
                for (int k = 1; k < len; ++k) cp = cp << 6 | (body[i + k] & 0x3F);
                i += len;
                if (cp >= 0x10000) {
                    wide += char16_t(0xD800 + ((cp - 0x10000) >> 10));
                    wide += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
                } else {
                    wide += char16_t(cp);
                }
            }
            bytes = encoding == 10 ? std::string("\xFF\xFE", 2) : std::string("\xFE\xFF", 2);
            for (char16_t u : wide) {
                char lo = char(u & 0xFF), hi = char(u >> 8);
                bytes += encoding == 10 ? lo : hi;
                bytes += encoding == 10 ? hi : lo;
            }
        }
        CMyFile file;
        auto parts = pieces(home.write("u.csv", bytes), encoding, &file);
        EXPECT_EQ(joined(parts), expected) << encoding;
        EXPECT_EQ(file.unrepresentableCharacters(), 0) << encoding;
        EXPECT_GT(parts.size(), 2u);
    }
}

TEST(CMyFileChunks, ControlBytesAreReplacedAndCounted) {
    TempHome home;
    std::string text = std::string("a\0b\x01" "c\td\r\n", 9);
    CMyFile file;
    auto parts = pieces(home.write("n.csv", text), 0, &file);
    EXPECT_EQ(joined(parts), "a b?c\td\r\n");
    EXPECT_EQ(file.replacedControls(), 2);

    // Carried bytes are counted once, when their piece is handed out.
    std::string longer(1017, 'a');
    longer += std::string("\x02\x02\x02\x02", 4) + std::string(1500, 'z');
    CMyFile second;
    parts = pieces(home.write("c.csv", longer), 0, &second);
    EXPECT_EQ(second.replacedControls(), 4);

    // UTF-16 control characters would be taken for the store's marks; they are replaced too.
    CMyFile wide;
    parts = pieces(home.write("w.csv", std::string("\xFF\xFE" "a\0\x01\0b\0", 8)), 10, &wide);
    EXPECT_EQ(joined(parts), "a?b");
    EXPECT_EQ(wide.replacedControls(), 1);
}

TEST(CMyFileChunks, TruncatedUtf16AndInvalidUtf8) {
    TempHome home;
    CMyFile odd;
    auto parts = pieces(home.write("o.csv", std::string("\xFF\xFE" "a\0b", 5)), 10, &odd);
    EXPECT_EQ(joined(parts), "a?");
    EXPECT_EQ(odd.unrepresentableCharacters(), 1);
    CMyFile lone;
    parts = pieces(home.write("l.csv", std::string("\xFF\xFE\x00\xD8" "a\0", 6)), 10, &lone);
    EXPECT_EQ(joined(parts), "?a");
    CMyFile bad;
    parts = pieces(home.write("b.csv", "\xEF\xBB\xBF" "a\xE3\x81" "b\xFF"), 15, &bad);
    EXPECT_EQ(joined(parts), "a?b?");
    EXPECT_EQ(bad.unrepresentableCharacters(), 2);
}

TEST(CMyFileWrite, EncodingsBomsAndLineEnds) {
    TempHome home;
    struct Case { int encoding; std::string bytes; };
    const Case cases[] = {
        {10, std::string("\xFF\xFE" "A\0B\0C\0\r\0\n\0", 12)},
        {11, std::string("\xFE\xFF\0A\0B\0C\0\r\0\n", 12)},
        {15, "\xEF\xBB\xBF" "ABC\r\n"},
        {0, "ABC\r\n"},
    };
    for (const Case& c : cases) {
        CMyFile file;
        std::string path = home.file("w" + std::to_string(c.encoding));
        ASSERT_EQ(file.open(path, CMyFile::ModeWrite, c.encoding), 0);
        file.writeBom();
        EXPECT_GT(file.writeText("ABC"), 0);
        file.writeLineEnd(0);
        EXPECT_EQ(file.close(), 0);
        EXPECT_EQ(TempHome::read(path), c.bytes) << c.encoding;
    }
    CMyFile file;
    std::string path = home.file("ends");
    ASSERT_EQ(file.open(path, CMyFile::ModeWrite, 15), 0);
    EXPECT_EQ(file.writeText(sj("表")), 3);
    EXPECT_EQ(file.writeLineEnd(1), 1);
    EXPECT_EQ(file.writeLineEnd(2), 1);
    file.close();
    EXPECT_EQ(TempHome::read(path), "表\r\n");
}

TEST(CMyFileWrite, FailureIsReported) {
    CMyFile file;
    if (file.open("/dev/full", CMyFile::ModeWrite, 0) != 0) GTEST_SKIP() << "no /dev/full";
    std::string big(200 * 1024, 'x');
    int written = file.writeText(big);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(file.errorFlag, 1);
    EXPECT_EQ(file.writeText("more"), 0);
    EXPECT_EQ(file.close(), -1);
}

TEST(CMyFileWrite, SmallWriteFailureShowsAtClose) {
    CMyFile file;
    if (file.open("/dev/full", CMyFile::ModeWrite, 0) != 0) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(file.writeText("abc"), 3);   // still buffered
    EXPECT_EQ(file.close(), -1);
    EXPECT_EQ(file.errorFlag, 1);
}

TEST(CMyFileWrite, ReadThenWriteGivesTheSameBytes) {
    TempHome home;
    std::string text;
    for (int i = 0; i < 300; ++i) text += sj("表計算ｱｲｳ,\"a\"\"b\",～－\r\n");
    for (int encoding : {0, 15, 10, 11}) {
        std::string original = encodeAs(text, encoding, encoding != 0);
        std::string path = home.write("in" + std::to_string(encoding), original);
        CMyFile reader;
        std::string cp932 = joined(pieces(path, encoding, &reader));
        EXPECT_EQ(reader.unrepresentableCharacters(), 0);
        CMyFile writer;
        std::string out = home.file("out" + std::to_string(encoding));
        ASSERT_EQ(writer.open(out, CMyFile::ModeWrite, encoding), 0);
        writer.writeBom();
        writer.writeText(cp932);
        ASSERT_EQ(writer.close(), 0);
        EXPECT_EQ(TempHome::read(out), original) << encoding;
    }
}

TEST(CMyFileChunks, Utf8SequenceAcrossTheCutStaysWhole) {
    TempHome home;
    std::string text(1017, 'a');
    text += "表";   // three bytes from 1017
    text += std::string(1100, 'b');
    auto parts = pieces(home.write("u.csv", text), 15);
    ASSERT_GE(parts.size(), 2u);
    EXPECT_EQ(parts[0].size(), 1019u);   // 1017 + the two CP932 bytes
    EXPECT_EQ(parts[0].substr(1017), sj("表"));
}
