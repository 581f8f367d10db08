// UserFunctionTable: the 49 user-key functions with their groups, numbers and labels.
#include "dialogs/UserFunctionTable.h"

namespace {

// Colour numbers carry the palette index as number - 101 (background) or number - 201 (text);
// conversion numbers carry the conversion kind as number - 50. The conversions are listed
// kana first, as the dialog has always shown them.
constexpr std::array<UserFunction, UserFunctionTable::Count> Table = {{
    {0, 0, "（未定義）"},
    {0, 1, "ユーザー定義キーの割当を開く"},
    {0, 2, "抽出切替"},
    {0, 3, "抽出条件指定"},
    {0, 4, "抽出OFF"},
    {0, 5, "1行目ヘッダー切替"},
    {0, 6, "再読込(実行確認なし)"},
    {0, 7, "再読込(実行確認あり)"},
    {0, 8, "やり直し"},
    {1, 100, "背景色：クリア"},
    {1, 101, "背景色：黒"},
    {1, 102, "背景色：赤"},
    {1, 103, "背景色：緑"},
    {1, 104, "背景色：黄色"},
    {1, 105, "背景色：青"},
    {1, 106, "背景色：紫"},
    {1, 107, "背景色：水色"},
    {1, 108, "背景色：灰色"},
    {1, 109, "背景色：薄い灰色"},
    {1, 110, "背景色：薄い赤"},
    {1, 111, "背景色：薄い緑"},
    {1, 112, "背景色：薄い黄色"},
    {1, 113, "背景色：薄い青"},
    {1, 114, "背景色：薄い紫"},
    {1, 115, "背景色：薄い水色"},
    {1, 116, "背景色：白"},
    {2, 200, "文字色：クリア"},
    {2, 201, "文字色：暗い黒"},
    {2, 202, "文字色：暗い赤"},
    {2, 203, "文字色：暗い緑"},
    {2, 204, "文字色：暗い黄色"},
    {2, 205, "文字色：暗い青"},
    {2, 206, "文字色：暗い紫"},
    {2, 207, "文字色：暗い水色"},
    {2, 208, "文字色：暗い灰色"},
    {2, 209, "文字色：灰色"},
    {2, 210, "文字色：赤"},
    {2, 211, "文字色：緑"},
    {2, 212, "文字色：黄色"},
    {2, 213, "文字色：青"},
    {2, 214, "文字色：紫"},
    {2, 215, "文字色：水色"},
    {2, 216, "文字色：白"},
    {3, 50, "文字変換：全角->半角"},
    {3, 51, "文字変換：半角->全角"},
    {3, 54, "文字変換：半角ｶﾀｶﾅ->ひらがな"},
    {3, 55, "文字変換：ひらがな->半角ｶﾀｶﾅ"},
    {3, 52, "文字変換：大文字(UPPER CASE)"},
    {3, 53, "文字変換：小文字(lower case)"},
}};

constexpr std::array<const char*, UserFunctionTable::GroupCount> Groups = {
    "基本", "背景色", "文字色", "文字操作"};

} // namespace

const std::array<UserFunction, UserFunctionTable::Count>& UserFunctionTable::entries() {
    return Table;
}

const std::array<const char*, UserFunctionTable::GroupCount>& UserFunctionTable::groups() {
    return Groups;
}

const UserFunction* UserFunctionTable::find(int number) {
    for (const UserFunction& entry : Table)
        if (entry.number == number) return &entry;
    return nullptr;
}
