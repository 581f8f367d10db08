// PaperTable: the printer paper codes the print dialog names, and the page sizes they stand for.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

// Paper codes are the numbers printer drivers report for a paper. Qt numbers its sizes
// differently (its 24-26 are the architect sizes, and its ANSI C/D/E have no code at all), so
// the codes go through this table and never through QPageSize's own numbering.
class PaperTable {
public:
    static constexpr int UserDefined = 256;

    // Name shown for a code: the listed names, else "その他用紙(#code)".
    static QString name(int code);
    // Page size for a code and whether the code means the paper turned sideways; an invalid
    // size for codes without a fixed size (126, 256, 257 and unknown ones).
    static QPageSize pageSize(int code);
    static bool isRotated(int code);
    // Code of a page size: the table's first entry with that size id, else the size's own
    // Windows id, else UserDefined.
    static int codeOf(const QPageSize& size);
    // Text of the orientation field: "横" for landscape, else "縦".
    static QString orientationName(QPageLayout::Orientation orientation);
};
