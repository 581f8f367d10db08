// Writes samples/商品在庫.csv and its colour file 商品在庫.vxc with the program's own save flow.
// Build and run from the repository root after a build in build/release:
//   g++ -std=c++20 -I. samples/make_sample.cpp build/release/libvexil_core.a -o /tmp/make_sample
//   VEXIL_HOME=$(mktemp -d) /tmp/make_sample samples
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::vector<std::vector<std::string>> rows = {
    {"商品コード", "商品名", "分類", "単価", "在庫数", "仕入先", "備考"},
    {"A-1001", "りんご（ふじ）", "果物", "158", "120", "青森農園", "糖度14度以上"},
    {"A-1002", "みかん", "果物", "98", "300", "愛媛みかん組合", ""},
    {"A-1003", "バナナ", "果物", "198", "45", "南国トレーディング", "追熟中"},
    {"B-2001", "キャベツ", "野菜", "178", "60", "群馬高原ファーム", ""},
    {"B-2002", "にんじん", "野菜", "128", "8", "北海道グリーン", "在庫少：発注済み"},
    {"B-2003", "じゃがいも", "野菜", "248", "90", "北海道グリーン", ""},
    {"B-2004", "玉ねぎ", "野菜", "198", "0", "淡路島ファーム", "入荷待ち"},
    {"C-3001", "牛乳 1L", "乳製品", "228", "75", "みどり牧場", "要冷蔵"},
    {"C-3002", "ヨーグルト", "乳製品", "148", "40", "みどり牧場", "要冷蔵\r\n賞味期限 10日"},
    {"C-3003", "チーズ（ｽﾗｲｽ）", "乳製品", "358", "25", "Alps Dairy", ""},
    {"D-4001", "食パン 6枚切", "パン", "178", "30", "ベーカリー山田", "毎朝入荷"},
    {"D-4002", "クロワッサン", "パン", "120", "18", "ベーカリー山田", ""},
    {"E-5001", "緑茶 500ml", "飲料", "108", "240", "静岡茶園", ""},
    {"E-5002", "コーヒー豆 200g", "飲料", "980", "12", "Blue Mountain Co.", "深煎り"},
    {"E-5003", "ミネラルウォーター", "飲料", "88", "500", "富士の水", "箱売りあり"},
};

const int widths[] = {80, 140, 60, 50, 50, 130, 150};

std::string rowText(const std::vector<std::string>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) text += '\t';
        text += CodePage::toCp932(cells[i]);
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "samples";
    const std::string path = folder + "/商品在庫.csv";
    std::remove(path.c_str());
    std::remove((folder + "/商品在庫.vxc").c_str());

    CMyGlobal global;
    global.loadSettings(1920, 1080);
    CMyHyo hyo;
    hyo.journal().setRecording(false);
    for (size_t r = 0; r < rows.size(); ++r) hyo.setRow(int(r), rowText(rows[r]));
    for (int c = 0; c < 7; ++c) hyo.setColumnWidth(c, widths[c]);
    hyo.setColumnKind(3, 1, 1);   // price and stock are numbers, shown right-aligned
    hyo.setColumnKind(4, 1, 1);
    hyo.setRowAttribute(0, AttrBackColour, 12, 1);          // header row light blue
    hyo.setRowAttribute(5, AttrBackColour, 11, 1);          // low stock: light yellow
    hyo.setRowAttribute(7, AttrBackColour, 9, 1);           // out of stock: light red
    hyo.setCellAttribute(4, 7, AttrTextColour, 1, 1, 1);    // the 0 in dark red
    hyo.setCellAttribute(4, 5, AttrTextColour, 1, 1, 1);
    hyo.setCellAttribute(6, 5, AttrTextColour, 4, 1, 1);
    for (int r = 1; r < 4; ++r) hyo.setCellAttribute(2, r, AttrBackColour, 10, 1, 1);
    hyo.setCellAttribute(1, 14, AttrBackColour, 14, 1, 1);
    hyo.setRowHeight(9, 30);   // the two-line remark
    hyo.takeHeaderRow();
    hyo.setWidestRow(hyo.widestRowCount());

    DocumentState doc;
    doc.filePath = path;
    doc.separator = ',';
    doc.encoding = EncUtf8;
    doc.withBom = true;
    doc.lineEnding = LineCrLf;
    doc.colourMode = 1;
    SaveFlow flow(hyo, global, doc);
    const bool ok = flow.saveDocument(false);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok ? 0 : 1;
}
