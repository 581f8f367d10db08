// PostalTable: a postal-code-like table in the form public data comes in (CP932, CR LF, every
// text column enclosed in double quotes, numbers bare), for the "as read" save checks.
#pragma once

#include "platform/core/CodePage.h"

#include <cstdio>
#include <random>
#include <string>

namespace PostalTable {

// The file's bytes in CP932; `rows` lines of 15 fields, the last line ended with CR LF.
inline std::string generate(int rows) {
    static const char* const prefectures[] = {"北海道", "東京都", "大阪府", "京都府", "沖縄県", "福岡県"};
    static const char* const prefectureKana[] = {"ﾎｯｶｲﾄﾞｳ", "ﾄｳｷｮｳﾄ", "ｵｵｻｶﾌ", "ｷｮｳﾄﾌ", "ｵｷﾅﾜｹﾝ", "ﾌｸｵｶｹﾝ"};
    static const char* const cities[] = {"札幌市中央区", "千代田区", "大阪市北区", "京都市左京区", "那覇市", "福岡市博多区"};
    static const char* const cityKana[] = {"ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "ﾁﾖﾀﾞｸ", "ｵｵｻｶｼｷﾀｸ", "ｷｮｳﾄｼｻｷｮｳｸ", "ﾅﾊｼ", "ﾌｸｵｶｼﾊｶﾀｸ"};
    static const char* const towns[] = {"以下に掲載がない場合", "丸の内（次のビルを除く）", "一条通",
                                        "曽根崎新地", "旭町", "博多駅前", "大手町（１、２丁目）"};
    static const char* const townKana[] = {"ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "ﾏﾙﾉｳﾁ(ﾂｷﾞﾉﾋﾞﾙｦﾉｿﾞｸ)", "ｲﾁｼﾞｮｳﾄﾞｵﾘ",
                                           "ｿﾈｻﾞｷｼﾝﾁ", "ｱｻﾋﾏﾁ", "ﾊｶﾀｴｷﾏｴ", "ｵｵﾃﾏﾁ(1､2ﾁｮｳﾒ)"};
    std::mt19937 random(20240601u);
    std::string text;
    text.reserve(static_cast<std::size_t>(rows) * 150);
    char numbers[96];
    auto next = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    for (int r = 0; r < rows; ++r) {
        const unsigned p = next(6);
        const unsigned t = next(7);
        const unsigned code = 100000u + static_cast<unsigned>(r) * 7u % 8999999u;
        const unsigned local = 1101u + p * 1000u + next(50);
        std::snprintf(numbers, sizeof numbers, "%u,\"%03u  \",\"%07u\",", local, code / 10000u % 1000u, code);
        text += numbers;
        for (const char* field : {prefectureKana[p], cityKana[p], townKana[t], prefectures[p], cities[p], towns[t]}) {
            text += '"';
            text += CodePage::toCp932(field);
            text += "\",";
        }
        unsigned flags[6];
        for (unsigned i = 0; i < 6; ++i) flags[i] = next(i < 4 ? 2 : i == 4 ? 3 : 7);
        std::snprintf(numbers, sizeof numbers, "%u,%u,%u,%u,%u,%u\r\n", flags[0], flags[1], flags[2],
                      flags[3], flags[4], flags[5]);
        text += numbers;
    }
    return text;
}

} // namespace PostalTable
