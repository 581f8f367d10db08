// Random files compared with a plain whole-text parser: the chunked reader must agree with it.
#include "ReaderFixtures.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <random>

namespace {


struct Reference {
    const std::string& s;
    char sep = ',';
    size_t i = 0;
    Table table;
    bool tabInQuotes = false;

    explicit Reference(const std::string& text) : s(text) {}

    int peek(size_t at) const { return at < s.size() ? static_cast<unsigned char>(s[at]) : -1; }

    // A double-byte character whole, or "?" for a lead byte without its second byte.
    bool copyDoubleByte(std::string& f) {
        if (!CodePage::isLeadByte(static_cast<unsigned char>(s[i]))) return false;
        unsigned char next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (next >= 0x20 && next != '"' && next != static_cast<unsigned char>(sep)) {
            f.append(s, i, 2);
            i += 2;
        } else {
            f += '?';
            ++i;
        }
        return true;
    }

    void skipBreak() { i += (s[i] == '\r' && peek(i + 1) == '\n') ? 2 : 1; }

    void general(char separator, bool quotes) {
        sep = separator;
        while (i < s.size()) {
            std::vector<std::string> rec;
            std::string f;
            bool quoted = false;
            for (;;) {
                if (i >= s.size()) {
                    if (!f.empty()) rec.push_back(f);
                    break;
                }
                char c = s[i];
                if (copyDoubleByte(f)) continue;
                if (quoted) {
                    if (c == '"' && peek(i + 1) == '"') { f += '"'; i += 2; }
                    else if (c == '"') { quoted = false; ++i; }
                    else if (c == '\r' || c == '\n') { f += "\r\n"; skipBreak(); }
                    else if (c == '\t' && sep == '\t') { tabInQuotes = true; return; }
                    else if (c == '\t') { f += ' '; ++i; }
                    else { f += c; ++i; }
                } else if (c == '"' && quotes) { quoted = true; ++i; }
                else if (c == sep) { rec.push_back(f); f.clear(); ++i; }
                else if (c == '\r' || c == '\n') { rec.push_back(f); skipBreak(); break; }
                else if (c == '\t') { f += ' '; ++i; }
                else { f += c; ++i; }
            }
            if (!rec.empty()) table.push_back(rec);
        }
    }

    static std::string unquote(const std::string& f) {
        std::string out;
        for (size_t k = 1; k < f.size(); ++k) {
            if (CodePage::isLeadByte(static_cast<unsigned char>(f[k])) && k + 1 < f.size()) {
                out.append(f, k++, 2);
                continue;
            }
            out += f[k];
            if (f[k] == '"' && k + 1 < f.size() && f[k + 1] == '"') ++k;
        }
        return out;
    }

    void tab(bool quotes) {
        sep = '\t';
        while (i < s.size()) {
            std::vector<std::string> rec;
            std::string f;
            bool atStart = true, quoted = false, sawBreak = false;
            size_t lengthAtBreak = 0, resumeAt = 0;
            auto broken = [&] {
                rec.push_back(f.substr(0, lengthAtBreak));
                i = resumeAt;
            };
            for (;;) {
                if (i >= s.size()) {
                    if (quoted && sawBreak) broken();
                    else if (!f.empty()) rec.push_back(f);
                    break;
                }
                char c = s[i];
                if (atStart && c == '"' && quotes) {
                    quoted = true;
                    atStart = false;
                    f += '"';
                    ++i;
                    continue;
                }
                atStart = false;
                if (copyDoubleByte(f)) continue;
                if (!quoted) {
                    if (c == '\t') { rec.push_back(f); f.clear(); atStart = true; ++i; }
                    else if (c == '\r' || c == '\n') { rec.push_back(f); skipBreak(); break; }
                    else { f += c; ++i; }
                    continue;
                }
                if (c == '"') {
                    int next = peek(i + 1);
                    if (next == '"') { f += "\"\""; i += 2; continue; }
                    if (next == '\t' || next == '\r' || next == '\n' || next < 0) {
                        ++i;
                        rec.push_back(sawBreak ? unquote(f) : f + '"');
                        f.clear();
                        quoted = false;
                        if (next < 0) break;
                        if (next == '\t') { ++i; atStart = true; sawBreak = false; continue; }
                        skipBreak();
                        break;
                    }
                    if (sawBreak) { broken(); break; }
                    f += '"';
                    ++i;
                    quoted = false;
                } else if (c == '\t') {
                    if (sawBreak) { broken(); break; }
                    quoted = false;
                } else if (c == '\r' || c == '\n') {
                    bool first = !sawBreak;
                    if (first) {
                        sawBreak = true;
                        lengthAtBreak = f.size();
                    }
                    skipBreak();
                    if (first) resumeAt = i;   // the text after the first break is read again
                    f += "\r\n";
                } else {
                    f += c;
                    ++i;
                }
            }
            if (!rec.empty()) table.push_back(rec);
        }
    }
};

std::string randomText(std::mt19937& random, size_t length, bool loneLeads) {
    static const char* const pieces[] = {"a", "b", "1", ",", "\t", "\"", "\"\"", "\r\n", "\n",
                                         "\r", "\x95\x5C", "\x83\x5C", "\xB1", "xyz", " "};
    std::string s;
    while (s.size() < length) {
        if (loneLeads && random() % 97 == 0) s += '\x81';
        s += pieces[random() % std::size(pieces)];
    }
    return s;
}

} // namespace

TEST(ReferenceParser, RandomFilesReadAsByAWholeTextParser) {
    TempHome home;
    std::mt19937 random(2024);
    int compared = 0;
    for (int round = 0; round < 240; ++round) {
        static const int encodings[] = {0, 15, 10};
        int encoding = encodings[round % 3];
        bool tabParser = (round / 3) % 2 == 1;
        std::string text = randomText(random, 900 + random() % 2600, encoding == 0);
        Reference reference(text);
        char sep = tabParser || (round / 6) % 2 == 1 ? '\t' : ',';
        if (tabParser) reference.tab(true);
        else reference.general(sep, true);
        std::string path = home.write("r.txt", encodeAs(text, encoding, encoding != 0));
        int status = 0;
        Table got = readAll(path, sep, !tabParser, true, encoding, false, &status);
        if (reference.tabInQuotes) {
            EXPECT_EQ(status, CMyCSV::TabInsideQuotes) << round;
            ASSERT_EQ(got, reference.table) << round;
            continue;
        }
        EXPECT_EQ(status, 0) << round;
        for (size_t r = 0; r < got.size() && r < reference.table.size(); ++r)
            ASSERT_EQ(got[r], reference.table[r]) << "round " << round << " record " << r;
        ASSERT_EQ(got, reference.table) << "round " << round;
        ++compared;
    }
    EXPECT_GT(compared, 30);
}
