// Tests of the utilities: slash dates and series, number text, path and file helpers.
#include "settings/CMyPublic.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <clocale>

#include <cmath>
#include <filesystem>

TEST(SlashDate, ShapesFollowTheText) {
    CMyPublic p;
    struct Case { const char* text; const char* shape; };
    for (Case c : {Case{"12/31", "m/d"}, Case{"01/02", "mm/dd"}, Case{"1/02", "mm/dd"},
                   Case{"99/1/2", "yy/m/d"}, Case{"2000/1/2", "yyyy/m/d"},
                   Case{"2000/01/02", "yyyy/mm/dd"}, Case{"05/1/2", "yy/mm/dd"}}) {
        SCOPED_TRACE(c.text);
        p.setLastDateFormat("x");
        ASSERT_TRUE(p.parseSlashDate(c.text, true));
        EXPECT_EQ(p.lastDateFormat(), c.shape);
    }
    p.setLastDateFormat("yyyy/mm/dd");
    ASSERT_TRUE(p.parseSlashDate("2000/1/2", false));
    EXPECT_EQ(p.lastDateFormat(), "yyyy/mm/dd");   // not remembered without the flag
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yyyy/mm/dd"), "2000/01/02");
}

TEST(SlashDate, RejectsWhatIsNotADate) {
    CMyPublic p;
    for (const char* text : {"13/1", "2000/1/32", "1/2/3/4", "2000/2/30", "2001/2/29", "0/5",
                             "12345/1/1", "1/2a", "12", "", "/1/2", "1//2", " 1/2",
                             "\x82\x50/2"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(p.parseSlashDate(text, true));
    }
    EXPECT_TRUE(p.parseSlashDate("2000/2/29", true));
    EXPECT_EQ(p.lastDateFormat(), "yyyy/m/d");
}

TEST(SlashDate, StopsAtATabAndExpandsTwoDigitYears) {
    CMyPublic p;
    ASSERT_TRUE(p.parseSlashDate("2001/3/4\tmore text", false));
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yyyy/mm/dd"), "2001/03/04");
    ASSERT_TRUE(p.parseSlashDate("29/1/2", false));
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yyyy/m/d"), "2029/1/2");
    ASSERT_TRUE(p.parseSlashDate("30/1/2", false));
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yyyy/m/d"), "1930/1/2");
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yy/mm/dd"), "30/01/02");
    // CP932 literals: the second byte of \x83\x79 (ペ) is a "y" and must stay literal.
    EXPECT_EQ(CMyPublic::formatDate(p.lastDate(), "yyyy\x83\x79m"), "1930\x83\x79" "1");
}

TEST(DateSeries, NextDateKeepsTheRememberedShape) {
    CMyPublic p;
    p.setLastDateFormat("yyyy/mm/dd");
    EXPECT_EQ(p.nextInSeries("2000/01/01", "2000/01/03"), "2000/01/05");
    EXPECT_EQ(p.nextInSeries("2000/01/10", "2000/01/03"), "1999/12/27");
    EXPECT_EQ(p.nextInSeries("2000/2/28", "2000/2/29"), "2000/03/01");
    ASSERT_TRUE(p.parseSlashDate("1/31", true));
    EXPECT_EQ(p.nextInSeries("1/30", "1/31"), "2/1");
    EXPECT_FALSE(p.nextInSeries("1/30", "abc").has_value());
    EXPECT_FALSE(p.nextInSeries("x", "1/31").has_value());
    p.setLastDateFormat("yyyy/mm/dd");
    EXPECT_FALSE(p.nextInSeries("1/1/1", "9999/12/31").has_value());   // beyond year 9999
}

// Under a locale with a decimal comma the point stays a point.
TEST(FormatNumber, IgnoresTheLocalesDecimalComma) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(CMyPublic::formatNumber(12.5, 5, false), "12.50000");
    EXPECT_EQ(CMyPublic::formatNumber(-1234.5678, 2, true), "-1234.57");
    EXPECT_EQ(CMyPublic::formatNumber(0.000125, 5, true), "0.00013");
    EXPECT_EQ(CMyPublic::formatNumber(1e20, 1, false), "100000000000000000000.0");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(FormatNumber, DigitStringRules) {
    EXPECT_EQ(CMyPublic::formatNumber(123.456, 5, true), "123.456");
    EXPECT_EQ(CMyPublic::formatNumber(0, 5, true), "0");
    EXPECT_EQ(CMyPublic::formatNumber(-0.5, 5, true), "-0.5");
    EXPECT_EQ(CMyPublic::formatNumber(0.001234, 5, true), "0.00123");
    EXPECT_EQ(CMyPublic::formatNumber(0.001234, 5, false), "0.00123");
    EXPECT_EQ(CMyPublic::formatNumber(2.5, 3, false), "2.500");
    EXPECT_EQ(CMyPublic::formatNumber(100, 2, true), "100");
    EXPECT_EQ(CMyPublic::formatNumber(-1234.5, 0, false), "-1234");   // half to even
    EXPECT_EQ(CMyPublic::formatNumber(0.2, 0, false), "0");
    EXPECT_EQ(CMyPublic::formatNumber(-0.000001, 5, true), "0");     // no "-0"
}

TEST(FormatNumber, SixtyDigitsOrMoreGiveNothing) {
    // 2^180 has 55 integer digits, so with 5 decimals 60 digits; 2^177 has 54 (59 digits).
    EXPECT_EQ(CMyPublic::formatNumber(std::ldexp(1.0, 180), 5, true), "");
    EXPECT_EQ(CMyPublic::formatNumber(std::ldexp(1.0, 177), 5, false).size(), 60u);
    EXPECT_EQ(CMyPublic::formatNumber(std::ldexp(1.0, 177), 5, true).size(), 54u);
    EXPECT_EQ(CMyPublic::formatNumber(1e300, 0, false).size(), 301u);
}

TEST(FormatNumber, ValuesWithoutDigitsGiveNothing) {
    for (double value : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(CMyPublic::formatNumber(value, 5, true), "");
        EXPECT_EQ(CMyPublic::formatNumber(value, 5, false), "");
        EXPECT_EQ(CMyPublic::formatNumber(value, 0, false), "");
    }
}

TEST(PathParts, NamesExtensionsAndSetExtension) {
    EXPECT_EQ(CMyPublic::fileNamePart("/a.b/c/file.tar.gz"), "file.tar.gz");
    EXPECT_EQ(CMyPublic::fileNamePart("plain"), "plain");
    EXPECT_EQ(CMyPublic::extensionPart("/a.b/c/file.tar.gz"), "tar.gz");
    EXPECT_EQ(CMyPublic::extensionPart("/a.b/c/file"), "");   // the folder's dot does not count
    std::string path = "/a.b/data";
    CMyPublic::setExtension(path, ".csv", false);
    EXPECT_EQ(path, "/a.b/data.csv");
    CMyPublic::setExtension(path, ".txt", false);
    EXPECT_EQ(path, "/a.b/data.csv");
    path = "/a.b/data.x.y";
    CMyPublic::setExtension(path, ".txt", true);
    EXPECT_EQ(path, "/a.b/data.txt");
    EXPECT_EQ(CMyPublic::fileNamePart("/表/ソ.csv"), "ソ.csv");
}

TEST(Files, ExistsAndBytesEqual) {
    TempHome home;
    EXPECT_FALSE(CMyPublic::fileExists(""));
    EXPECT_FALSE(CMyPublic::fileExists(home.path()));           // a folder
    EXPECT_FALSE(CMyPublic::fileExists(home.file("none.csv")));
    EXPECT_TRUE(CMyPublic::fileExists(home.write("a.csv", "")));
    EXPECT_FALSE(CMyPublic::fileExists(home.file("a.csv") + std::string(1, '\0') + "x"));
    EXPECT_TRUE(CMyPublic::bytesEqual("abcdef", "abcxyz", 3));
    EXPECT_FALSE(CMyPublic::bytesEqual("abcdef", "abcxyz", 4));
    EXPECT_FALSE(CMyPublic::bytesEqual("ab", "abc", 3));
    EXPECT_TRUE(CMyPublic::bytesEqual("ab", "ab", 10));
}
