// HelpManual: locating the manual and turning a keyword into a link to its section.
#include "platform/core/HelpManual.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Japanese keywords a user or a dialog may ask about, and the section that answers.
constexpr std::pair<std::string_view, std::string_view> keywordSections[] = {
    {"はじめに", "start"},           {"起動", "start"},
    {"ファイルを開く", "open"},      {"開く", "open"},
    {"保存", "save"},                {"名前を付けて保存", "save"},
    {"文字コード", "encoding"},      {"改行コード", "encoding"},
    {"BOM", "encoding"},             {"区切り", "separator"},
    {"区切り文字", "separator"},     {"タブ区切", "separator"},
    {"ダブルコーテーション", "quote"}, {"引用符", "quote"},
    {"色情報", "colour-file"},       {"VXC", "colour-file"},
    {"移動", "moving"},              {"選択", "moving"},
    {"編集", "editing"},             {"セル編集", "editing"},
    {"キー", "keys"},                {"ショートカット", "keys"},
    {"ステータスバー", "status-bar"}, {"縦計", "status-bar"},
    {"横計", "status-bar"},          {"コマンドライン", "command-line"},
    {"コピー", "clipboard"},         {"貼り付け", "clipboard"},
    {"クリップボード", "clipboard"}, {"行", "rows-columns"},
    {"列", "rows-columns"},          {"並べ替え", "sort"},
    {"ソート", "sort"},              {"検索", "find"},
    {"置換", "find"},                {"抽出", "filter"},
    {"変換", "conversion"},          {"結合", "column-tools"},
    {"分割", "column-tools"},        {"比較", "column-tools"},
    {"グループ", "column-tools"},    {"オプション", "options"},
    {"ユーザー定義キー", "user-keys"}, {"カード", "card"},
    {"カード編集", "card"},          {"色情報一覧", "colour-list"},
    {"印刷", "printing"},            {"プレビュー", "printing"},
    {"連番", "fill"},                {"ヘルプ", "menu-help"},
    {"ヘルプ画面", "help-window"},   {"読込時と同じ", "quote-as-read"},
};

bool isAnchorName(std::string_view s) {
    if (s.empty()) return false;
    for (unsigned char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-'))
            return false;
    return true;
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string percentEncoded(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '.' ||
                           c == '_' || c == '~' || c == ':';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

} // namespace

std::string HelpManual::locate(const std::string& programFolder, const std::string& executablePath) {
    const fs::path index = fs::path("help") / "index.html";
    std::vector<fs::path> candidates;
    if (!programFolder.empty()) candidates.push_back(fs::path(programFolder) / index);
    if (!executablePath.empty()) {
        const fs::path folder = fs::path(executablePath).parent_path();
        candidates.push_back(folder / index);
        candidates.push_back(folder.parent_path() / "share" / "vexil" / index);
    }
    for (const fs::path& candidate : candidates)
        if (isFile(candidate)) return candidate.lexically_normal().string();
    return {};
}

std::string HelpManual::anchorFor(const std::string& keyword) {
    for (const auto& [word, section] : keywordSections)
        if (word == keyword) return std::string(section);
    return isAnchorName(keyword) ? keyword : std::string();
}

bool HelpManual::hasSection(const std::string& indexPath, const std::string& anchor) {
    if (!isAnchorName(anchor)) return false;
    std::ifstream in(indexPath, std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return page.find("id=\"" + anchor + "\"") != std::string::npos ||
           page.find("name=\"" + anchor + "\"") != std::string::npos;
}

std::string HelpManual::urlFor(const std::string& indexPath, const std::string& keyword) {
    std::error_code error;
    fs::path absolute = fs::absolute(indexPath, error);
    if (error) absolute = indexPath;
    std::string path = absolute.generic_string();
    if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');   // "C:/..." on Windows
    std::string url = "file://" + percentEncoded(path);
    const std::string anchor = anchorFor(keyword);
    if (!anchor.empty()) url += "#" + anchor;
    return url;
}
