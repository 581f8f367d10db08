// PaperTable: paper codes to names and to Qt page sizes.
#include "print/PaperTable.h"

#include <iterator>

namespace {

struct Paper {
    int code;
    const char* name;   // UTF-8
    QPageSize::PageSizeId size;
    bool hasSize;
    bool rotated;
};

// Codes 81 and 82 are the postcards turned sideways; 126 and 257 have no size of their own.
const Paper Papers[] = {
    {1, "Letter(8 1/2×11インチ)", QPageSize::Letter, true, false},
    {2, "Letter Small(8 1/2×11インチ)", QPageSize::LetterSmall, true, false},
    {3, "Tabloid(11×17インチ)", QPageSize::Tabloid, true, false},
    {5, "Legal(8 1/2×14インチ)", QPageSize::Legal, true, false},
    {8, "A3シート(297×420mm)", QPageSize::A3, true, false},
    {9, "A4シート(210×297mm)", QPageSize::A4, true, false},
    {10, "A4 smallシート(210×297mm)", QPageSize::A4Small, true, false},
    {11, "A5シート(148×210mm)", QPageSize::A5, true, false},
    {12, "B4シート(250×354mm)", QPageSize::JisB4, true, false},
    {13, "B5シート(182×257mm)", QPageSize::JisB5, true, false},
    {24, "Cシート､ 17×22インチ", QPageSize::AnsiC, true, false},
    {25, "Dシート､ 22×34インチ", QPageSize::AnsiD, true, false},
    {26, "Eシート､ 34×44インチ", QPageSize::AnsiE, true, false},
    {43, "はがき", QPageSize::Postcard, true, false},
    {69, "往復はがき", QPageSize::DoublePostcard, true, false},
    {71, "封筒　角形２号", QPageSize::EnvelopeKaku2, true, false},
    {72, "封筒　角形３号", QPageSize::EnvelopeKaku3, true, false},
    {73, "封筒　長形３号", QPageSize::EnvelopeChou3, true, false},
    {74, "封筒　長形４号", QPageSize::EnvelopeChou4, true, false},
    {81, "はがき横", QPageSize::Postcard, true, true},
    {82, "往復はがき横", QPageSize::DoublePostcard, true, true},
    {91, "封筒　洋形４号", QPageSize::EnvelopeYou4, true, false},
    {126, "封筒　洋形６号", QPageSize::Custom, false, false},
    {PaperTable::UserDefined, "ユーザー定義用紙", QPageSize::Custom, false, false},
    {257, "B3(拡大縮小)", QPageSize::Custom, false, false},
};

const Paper* find(int code) {
    for (const Paper& paper : Papers)
        if (paper.code == code) return &paper;
    return nullptr;
}

} // namespace

QString PaperTable::name(int code) {
    if (const Paper* paper = find(code)) return QString::fromUtf8(paper->name);
    return QStringLiteral("その他用紙(#%1)").arg(code);
}

QPageSize PaperTable::pageSize(int code) {
    const Paper* paper = find(code);
    return paper && paper->hasSize ? QPageSize(paper->size) : QPageSize();
}

bool PaperTable::isRotated(int code) {
    const Paper* paper = find(code);
    return paper && paper->rotated;
}

int PaperTable::codeOf(const QPageSize& size) {
    if (!size.isValid()) return UserDefined;
    for (const Paper& paper : Papers)
        if (paper.hasSize && paper.size == size.id()) return paper.code;
    const int windows = size.windowsId();
    return windows > 0 ? windows : UserDefined;
}

QString PaperTable::orientationName(QPageLayout::Orientation orientation) {
    return orientation == QPageLayout::Landscape ? QStringLiteral("横") : QStringLiteral("縦");
}
