// TfrmOption: the three option pages, their filling from the settings, their reactions and the
// storing of the choices.
#include "dialogs/TfrmOption.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <optional>

#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyWriter.h"
#include "store/DocumentState.h"

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QComboBox* list(QWidget* owner, const char* name, std::initializer_list<const char*> entries) {
    auto* box = new QComboBox(owner);
    box->setObjectName(name);
    for (const char* entry : entries) box->addItem(u(entry));
    return box;
}

QCheckBox* check(QWidget* owner, const char* name, const char* caption) {
    auto* box = new QCheckBox(u(caption), owner);
    box->setObjectName(name);
    return box;
}

// Notes wrap; a field's label stays on one line (Japanese text would break inside a word)
// and names its field for the keyboard and screen readers.
QLabel* label(QWidget* owner, const char* caption, QWidget* buddy = nullptr) {
    auto* l = new QLabel(u(caption), owner);
    l->setWordWrap(!buddy);
    if (buddy) {
        l->setBuddy(buddy);
        buddy->setAccessibleName(l->text());
    }
    return l;
}

// A list without a label of its own is named after its group and what it chooses.
void nameList(QComboBox* box, const char* name) { box->setAccessibleName(u(name)); }

// A scroll area that asks for its whole page, so that the dialog shows every page uncut
// where the screen has room, and scrolls where it has not.
class PageScroller : public QScrollArea {
public:
    explicit PageScroller(QWidget* page) {
        setWidget(page);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
    }
    QSize sizeHint() const override {
        const QSize page = widget()->sizeHint();
        return page + QSize(verticalScrollBar()->sizeHint().width(), 0);
    }
};

QComboBox* scaleList(QWidget* owner, const char* name) {
    auto* box = new QComboBox(owner);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(3);
    for (int percent = 80; percent <= 200; percent += 10) box->addItem(QString::number(percent));
    return box;
}

// Entry of the three-entry encoding lists (SHIFT-JIS, UTF8, UTF16) and back.
int encodingEntry(int code) { return code == EncUtf16Le ? 2 : code == EncUtf8 ? 1 : 0; }
int entryEncoding(int entry) { return entry == 2 ? EncUtf16Le : entry == 1 ? EncUtf8 : EncShiftJis; }
// The document's own list has a fourth entry: a file read as UTF-16 big-endian is written
// so again, and an OK without change must not turn it into another encoding.
int editEncodingEntry(int code) { return code == EncUtf16Be ? 3 : encodingEntry(code); }
int entryEditEncoding(int entry) { return entry == 3 ? EncUtf16Be : entryEncoding(entry); }
int lineEndEntry(int code) { return code == LineCr || code == LineLf ? code : LineCrLf; }
int readEncodingEntry(int code) {
    return code == EncShiftJis ? 1 : code == EncUtf8 ? 2 : code == EncUtf16Le ? 3 : 0;
}
int entryReadEncoding(int entry) {
    static const int codes[] = {EncAuto, EncShiftJis, EncUtf8, EncUtf16Le};
    return codes[std::clamp(entry, 0, 3)];
}
int entryOrZero(int value, int count) { return value >= 0 && value < count ? value : 0; }

// The whole number a field holds, or none. Digits beyond 64 bits saturate, so a long run of
// nines is large, not "not a number".
std::optional<long long> fieldNumber(const QString& text) {
    const QString t = text.trimmed();
    static const QRegularExpression form(QStringLiteral("^[+-]?[0-9]+$"));
    if (!form.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const long long value = t.toLongLong(&ok);
    if (ok) return value;
    return t.startsWith(QLatin1Char('-')) ? LLONG_MIN : LLONG_MAX;
}

int32_t fieldInt(const QString& text, int32_t fallback) {
    const long long value = fieldNumber(text).value_or(fallback);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

// One row of four fields (a number, a name with a full-width space, a text holding a quote, a
// comma and a line break, an empty field) as the quote choice `kind` writes it.
QString quoteSample(int kind) {
    const bool commaFile = kind != 3;
    const char* fields[] = {"123", "山田　太郎", "値\"A,B\r\nC", ""};
    // "As read" shows a file whose first and last columns were enclosed and the others bare.
    const int asRead[] = {WriteAll, WriteNeeded, WriteNeeded, WriteAll};
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        int mode = kind == CMyGlobal::QuoteAsRead ? asRead[i] : CMyWriter::writerMode(kind, false);
        if (kind == 2 && i == 0) mode = WriteNeededBreaksOnly;   // a numeric column
        const std::string text = CodePage::toCp932(fields[i]);
        std::string out(static_cast<size_t>(CMyWriter::formatCell(commaFile, mode, text.c_str(), nullptr, LineLf)), '\0');
        CMyWriter::formatCell(commaFile, mode, text.c_str(), out.data(), LineLf);
        shown << QString::fromStdString(CodePage::toUtf8(out));
    }
    return shown.join(commaFile ? QStringLiteral(",") : QStringLiteral("[TAB]"));
}

} // namespace

TfrmOption::TfrmOption(CMyGlobal& settings, QWidget* parent) : QDialog(parent), global(settings) {
    setObjectName("TfrmOption");
    setWindowTitle(QStringLiteral("オプション"));
    setModal(true);

    pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    pages->addTab(new PageScroller(createFilePage()), QStringLiteral("ファイル"));
    pages->addTab(new PageScroller(createDesignPage()), QStringLiteral("デザイン"));
    pages->addTab(new PageScroller(createEditPage()), QStringLiteral("編集"));

    cmd_Ok = new QPushButton(QStringLiteral("OK(&O)"), this);
    cmd_Ok->setObjectName("cmd_Ok");
    cmd_Ok->setDefault(true);
    cmd_OkSave = new QPushButton(QStringLiteral("OK(編集中のみ有効)(&E)"), this);
    cmd_OkSave->setObjectName("cmd_OkSave");
    cmd_OkSave->setAutoDefault(false);
    cmd_Cancel = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    cmd_Cancel->setObjectName("cmd_Cancel");
    cmd_Cancel->setAutoDefault(false);
    connect(cmd_Ok, &QPushButton::clicked, this, &TfrmOption::cmd_OkClick);
    connect(cmd_OkSave, &QPushButton::clicked, this, &TfrmOption::cmd_OkSaveClick);
    connect(cmd_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_Ok);
    buttons->addWidget(cmd_OkSave);
    buttons->addWidget(cmd_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    fillFromSettings();
    connectReactions();
    fitToScreen();
}

// The whole dialog where the screen has room for it; on a small or scaled screen it is
// limited to the screen (with room for the title bar) and its pages scroll.
void TfrmOption::fitToScreen() {
    const QScreen* shownOn = parentWidget() ? parentWidget()->screen() : screen();
    if (!shownOn) return;
    const QSize room = shownOn->availableGeometry().size() - QSize(16, 48);
    resize(sizeHint().boundedTo(room));
}

// ---- pages ------------------------------------------------------------------------------

QWidget* TfrmOption::createFilePage() {
    auto* page = new QWidget(this);
    cbo_MakeFD = list(page, "cbo_MakeFD", {"使用しない", "初期値：データファイルと同フォルダに作成",
                                           "初期値：一時保存（同フォルダには作らない）"});
    txt_FdListMax = new QLineEdit(page);
    txt_FdListMax->setObjectName("txt_FdListMax");
    txt_FdListMax->setMaxLength(3);
    lbl_FdListMax = label(page, "一時保持数(10-999)", txt_FdListMax);
    lbl_FdListMax->setObjectName("lbl_FdListMax");
    lbl_MakeFD3 = label(page, "※一時保存での色情報はファイル名、更新日で連携(使用頻度が低いと破棄)");
    lbl_MakeFD3->setObjectName("lbl_MakeFD3");
    cbo_ReadMozi = list(page, "cbo_ReadMozi", {"(自動判定)", "SHIFT-JIS", "UTF8", "UTF16"});

    nameList(cbo_MakeFD, "色情報ファイル(VXC)の扱い");
    auto* colour = new QGroupBox(u("色情報ファイル(VXC)の扱い"), page);
    auto* colourGrid = new QGridLayout(colour);
    colourGrid->addWidget(cbo_MakeFD, 0, 0, 1, 2);
    colourGrid->addWidget(label(page, "色情報ファイルとはCSVで扱わない背景色、文字色、幅サイズなどを保存します。"), 1, 0, 1, 2);
    colourGrid->addWidget(label(page, "データファイルと同フォルダ、同名(拡張子VXC)のものを色情報と認識します。"), 2, 0, 1, 2);
    colourGrid->addWidget(lbl_MakeFD3, 3, 0, 1, 2);
    colourGrid->addWidget(lbl_FdListMax, 4, 0);
    colourGrid->addWidget(txt_FdListMax, 4, 1);

    auto* start = new QGroupBox(u("起動時の文字コード(起動時有効)"), page);
    cbo_RetCode = list(start, "cbo_RetCode", {"CR+LF", "CR", "LF"});
    cbo_Mozi = list(start, "cbo_Mozi", {"SHIFT-JIS", "UTF8", "UTF16"});
    nameList(cbo_RetCode, "起動時の文字コード(起動時有効) 改行コード");
    nameList(cbo_Mozi, "起動時の文字コード(起動時有効) 文字コード");
    chk_BOM = check(start, "chk_BOM", "BOMの有");
    auto* startRow = new QHBoxLayout(start);
    startRow->addWidget(cbo_RetCode);
    startRow->addWidget(cbo_Mozi);
    startRow->addWidget(chk_BOM);

    auto* editing = new QGroupBox(u("編集中の文字コード"), page);
    cbo_EditRetCode = list(editing, "cbo_EditRetCode", {"CR+LF", "CR", "LF"});
    cbo_EditMozi = list(editing, "cbo_EditMozi", {"SHIFT-JIS", "UTF8", "UTF16", "UTF16BE"});
    nameList(cbo_EditRetCode, "編集中の文字コード 改行コード");
    nameList(cbo_EditMozi, "編集中の文字コード 文字コード");
    chk_EditBOM = check(editing, "chk_EditBOM", "BOMの有");
    auto* editRow = new QHBoxLayout(editing);
    editRow->addWidget(cbo_EditRetCode);
    editRow->addWidget(cbo_EditMozi);
    editRow->addWidget(chk_EditBOM);

    auto* readRow = new QHBoxLayout;
    readRow->addWidget(label(page, "読み込み時の文字コード", cbo_ReadMozi));
    readRow->addWidget(cbo_ReadMozi);
    readRow->addStretch();

    txt_MaxRow = new QLineEdit(page);
    txt_MaxRow->setObjectName("txt_MaxRow");
    txt_MaxRow->setMaxLength(8);
    auto* maxRowRow = new QHBoxLayout;
    maxRowRow->addWidget(label(page, "最大行数(500000-10000000)", txt_MaxRow));
    maxRowRow->addWidget(txt_MaxRow);
    maxRowRow->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(colour);
    layout->addLayout(readRow);
    layout->addLayout(maxRowRow);
    layout->addWidget(start);
    layout->addWidget(editing);
    layout->addWidget(createQuoteGroup(page));
    layout->addStretch();
    return page;
}

QWidget* TfrmOption::createQuoteGroup(QWidget* owner) {
    auto* group = new QGroupBox(u("保存時のダブルコーテーションの囲み"), owner);
    quoteKinds = new QButtonGroup(group);
    auto* grid = new QGridLayout(group);
    struct Choice { QRadioButton** button; const char* name; const char* caption; const char* note; };
    const Choice choices[] = {
        {&rdo_DblNo, "rdo_DblNo", "なし", "※区切り文字や改行が発生する場合はセット"},
        {&rdo_DblAll, "rdo_DblAll", "全てあり", nullptr},
        {&rdo_DblText, "rdo_DblText", "テキスト型のみあり", nullptr},
        {&rdo_DblNoAll, "rdo_DblNoAll", "完全なし", "※TAB区切りのみ有効。CSVは「なし」と同様。改行データの保存不可"},
        {&rdo_DblAsRead, "rdo_DblAsRead", "読込時と同じ", nullptr},
    };
    int row = 0;
    for (int kind = 0; kind < 5; ++kind) {
        const Choice& c = choices[kind];
        *c.button = new QRadioButton(u(c.caption), group);
        (*c.button)->setObjectName(c.name);
        quoteKinds->addButton(*c.button, kind);
        auto* sample = new QLabel(quoteSample(kind), group);
        sample->setObjectName(QStringLiteral("lbl_DblSample%1").arg(kind));
        grid->addWidget(*c.button, row, 0);
        grid->addWidget(sample, row, 1);
        ++row;
        if (c.note) grid->addWidget(label(group, c.note), row++, 1);
        if (kind == 0) {
            chk_FileDblRetOnly = check(group, "chk_FileDblRetOnly", "TAB区切時、データに改行がある場合のみセット");
            grid->addWidget(chk_FileDblRetOnly, row++, 1);
        }
    }
    return group;
}

QWidget* TfrmOption::createDesignPage() {
    auto* page = new QWidget(this);
    chk_LineCurUmu = check(page, "chk_LineCurUmu", "行カーソルの表示");
    chk_CellOver = check(page, "chk_CellOver", "セル幅を超えて表示");
    chk_RetView = check(page, "chk_RetView", "セル内の改行表示");
    chk_EndLine = check(page, "chk_EndLine", "最終行列線の表示");
    cbo_SelColorNo = list(page, "cbo_SelColorNo", {"白黒", "薄い青"});
    cbo_Scale = scaleList(page, "cbo_Scale");
    cbo_CardScale = scaleList(page, "cbo_CardScale");

    auto* grid = new QGridLayout;
    grid->addWidget(chk_LineCurUmu, 0, 0, 1, 2);
    grid->addWidget(chk_CellOver, 1, 0, 1, 2);
    grid->addWidget(chk_RetView, 2, 0, 1, 2);
    grid->addWidget(chk_EndLine, 3, 0, 1, 2);
    grid->addWidget(label(page, "選択カーソル色", cbo_SelColorNo), 4, 0);
    grid->addWidget(cbo_SelColorNo, 4, 1);
    grid->addWidget(label(page, "表示倍率(50%-400%)", cbo_Scale), 5, 0);
    grid->addWidget(cbo_Scale, 5, 1);
    grid->addWidget(label(page, "カード表示倍率(50%-400%)", cbo_CardScale), 6, 0);
    grid->addWidget(cbo_CardScale, 6, 1);

    auto* alternate = new QGroupBox(u("交互に背景色を設定"), page);
    auto* atStart = new QGroupBox(u("起動時設定"), alternate);
    cbo_KougoLine = list(atStart, "cbo_KougoLine", {"（なし）", "1行", "2行", "3行", "4行"});
    cbo_KougoCrIndex = list(atStart, "cbo_KougoCrIndex", {"緑", "薄緑", "黄", "青", "赤", "灰色"});
    nameList(cbo_KougoLine, "起動時設定 行数");
    nameList(cbo_KougoCrIndex, "起動時設定 色");
    auto* startRow = new QHBoxLayout(atStart);
    startRow->addWidget(cbo_KougoLine);
    startRow->addWidget(cbo_KougoCrIndex);
    chk_KougoMode = check(alternate, "chk_KougoMode", "交互背景色モード");
    cbo_KougoLineMode = list(alternate, "cbo_KougoLineMode", {"1行", "2行", "3行", "4行"});
    cbo_KougoCrIndexMode = list(alternate, "cbo_KougoCrIndexMode", {"緑", "薄緑", "黄", "青", "赤", "灰色"});
    nameList(cbo_KougoLineMode, "交互背景色モード 行数");
    nameList(cbo_KougoCrIndexMode, "交互背景色モード 色");
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(chk_KougoMode);
    modeRow->addWidget(cbo_KougoLineMode);
    modeRow->addWidget(cbo_KougoCrIndexMode);
    auto* alternateLayout = new QVBoxLayout(alternate);
    alternateLayout->addWidget(atStart);
    alternateLayout->addLayout(modeRow);
    alternateLayout->addWidget(label(alternate, "※「交互背景色モード」の設定は編集中のみ有効"));
    alternateLayout->addWidget(label(alternate, "※「交互背景色」時は最終行列線を表示します。"));
    alternateLayout->addWidget(label(alternate, "※印刷には反映しません。"));

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(alternate);
    layout->addStretch();
    return page;
}

QWidget* TfrmOption::createEditPage() {
    auto* page = new QWidget(this);
    auto* copying = new QGroupBox(u("コピー＆ペースト時、ダブルコーテーションで囲む条件"), page);
    chk_CPDblRetOnly = check(copying, "chk_CPDblRetOnly", "改行のみ");
    chk_TabRetWarning = check(copying, "chk_TabRetWarning", "上記チェックのとき改行データがあるとき警告メッセージを表示する");
    auto* copyLayout = new QVBoxLayout(copying);
    copyLayout->addWidget(chk_CPDblRetOnly);
    copyLayout->addWidget(label(copying, "※チェックなしの時、データにダブルコーテーションを含む時も囲みあり"));
    copyLayout->addWidget(chk_TabRetWarning);

    txt_UndoSize = new QLineEdit(page);
    txt_UndoSize->setObjectName("txt_UndoSize");
    chk_SimpleCalc = check(page, "chk_SimpleCalc", "簡易集計機能");
    cbo_PrintKind = list(page, "cbo_PrintKind", {"独自印刷ダイアログ(22H2対応)", "共通印刷ダイアログ", "ダイアログなし"});
    auto* grid = new QGridLayout;
    grid->addWidget(label(page, "UNDOサイズ", txt_UndoSize), 0, 0);
    grid->addWidget(txt_UndoSize, 0, 1);
    grid->addWidget(label(page, "KByte"), 0, 2);
    grid->addWidget(chk_SimpleCalc, 1, 0, 1, 3);
    grid->addWidget(label(page, "印刷種類", cbo_PrintKind), 2, 0);
    grid->addWidget(cbo_PrintKind, 2, 1, 1, 2);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(copying);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

// ---- filling and reactions --------------------------------------------------------------

void TfrmOption::fillFromSettings() {
    const CMyGlobal& g = global;
    cbo_MakeFD->setCurrentIndex(entryOrZero(g.colourFileMode(), 3));
    txt_FdListMax->setText(QString::number(g.colourListMax()));
    cbo_ReadMozi->setCurrentIndex(readEncodingEntry(g.readEncoding()));
    txt_MaxRow->setText(QString::number(g.maxRows()));
    const int quote = g.quoteKind();
    (quote == 2 ? rdo_DblText : quote == 1 ? rdo_DblAll : quote == 3 ? rdo_DblNoAll
     : quote == CMyGlobal::QuoteAsRead ? rdo_DblAsRead : rdo_DblNo)->setChecked(true);
    chk_FileDblRetOnly->setChecked(g.fileQuoteLineBreakOnly());
    chk_FileDblRetOnly->setEnabled(rdo_DblNo->isChecked() || rdo_DblAsRead->isChecked());
    cbo_Mozi->setCurrentIndex(encodingEntry(g.startEncoding()));
    chk_BOM->setEnabled(cbo_Mozi->currentIndex() != 0);
    cbo_RetCode->setCurrentIndex(lineEndEntry(g.startLineEnd()));
    chk_BOM->setChecked(g.startBom());

    chk_LineCurUmu->setChecked(g.showLineCursor());
    chk_CellOver->setChecked(g.cellOverflow());
    chk_RetView->setChecked(g.showCellLineBreaks());
    chk_EndLine->setChecked(g.showEndLine() != 0);
    chk_CPDblRetOnly->setChecked(g.copyQuoteLineBreakOnly());
    chk_TabRetWarning->setChecked(g.lineBreakCopyWarning());
    chk_SimpleCalc->setChecked(g.simpleCalc());
    const int32_t kbytes = g.undoSize() / 1000;
    shownUndoSize = QString::number(kbytes < 0 ? 1 : kbytes);
    txt_UndoSize->setText(shownUndoSize);
    cbo_PrintKind->setCurrentIndex(entryOrZero(g.printKind(), 3));
    cbo_Scale->setCurrentText(QString::number(g.viewScale()));
    cbo_CardScale->setCurrentText(QString::number(g.cardScale()));
    cbo_SelColorNo->setCurrentIndex(g.selectionColour() != 0 ? 1 : 0);

    cbo_KougoLine->setCurrentIndex(entryOrZero(g.alternateRows(), 5));
    cbo_KougoCrIndex->setCurrentIndex(entryOrZero(g.alternateColour(), 6));
    alternateLinesChosen();

    startEncodingChanged_ = false;
    colourModeChanged_ = false;
    showTemporaryStoreControls();
}

void TfrmOption::connectReactions() {
    connect(quoteKinds, &QButtonGroup::idToggled, this, &TfrmOption::quoteChoiceChanged);
    auto startChanged = [this] { startEncodingChanged_ = true; };
    connect(cbo_Mozi, &QComboBox::currentIndexChanged, this, [this, startChanged](int entry) {
        startChanged();
        chk_BOM->setEnabled(entry != 0);
    });
    connect(cbo_RetCode, &QComboBox::currentIndexChanged, this, startChanged);
    connect(chk_BOM, &QCheckBox::toggled, this, startChanged);
    connect(cbo_EditMozi, &QComboBox::currentIndexChanged, this,
            [this](int entry) { chk_EditBOM->setEnabled(entry != 0); });
    connect(cbo_MakeFD, &QComboBox::currentIndexChanged, this, [this] {
        colourModeChanged_ = true;
        showTemporaryStoreControls();
    });
    connect(cbo_KougoLine, &QComboBox::currentIndexChanged, this, &TfrmOption::alternateLinesChosen);
    auto tickMode = [this] { chk_KougoMode->setChecked(true); };
    connect(cbo_KougoLineMode, &QComboBox::activated, this, tickMode);
    connect(cbo_KougoCrIndexMode, &QComboBox::activated, this, tickMode);
}

void TfrmOption::showTemporaryStoreControls() {
    const bool temporary = cbo_MakeFD->currentIndex() == 2;
    lbl_MakeFD3->setVisible(temporary);
    lbl_FdListMax->setVisible(temporary);
    txt_FdListMax->setVisible(temporary);
}

void TfrmOption::alternateLinesChosen() {
    // Alternating bands are drawn with the end lines, so the box is held ticked meanwhile.
    const bool banded = cbo_KougoLine->currentIndex() > 0;
    cbo_KougoCrIndex->setEnabled(banded);
    if (banded) chk_EndLine->setChecked(true);
    chk_EndLine->setEnabled(!banded);
}

void TfrmOption::quoteChoiceChanged() {
    // "As read" quotes what the file did not by the rule of "なし", this box included.
    const bool asNeeded = rdo_DblNo->isChecked() || rdo_DblAsRead->isChecked();
    if (!asNeeded) chk_FileDblRetOnly->setChecked(false);
    chk_FileDblRetOnly->setEnabled(asNeeded);
}

// ---- the document's format and the alternating mode -------------------------------------

void TfrmOption::setEditingFormat(int encoding, bool withBom, int lineEnd) {
    cbo_EditMozi->setCurrentIndex(editEncodingEntry(encoding));
    chk_EditBOM->setEnabled(cbo_EditMozi->currentIndex() != 0);
    cbo_EditRetCode->setCurrentIndex(lineEndEntry(lineEnd));
    chk_EditBOM->setChecked(withBom);
    editEncoding_ = entryEditEncoding(cbo_EditMozi->currentIndex());
    editLineEnd_ = cbo_EditRetCode->currentIndex();
    editBom_ = withBom;
}

void TfrmOption::setAlternateMode(bool on, int band, int colour) {
    chk_KougoMode->setChecked(on);
    cbo_KougoLineMode->setCurrentIndex(entryOrZero(band - 1, cbo_KougoLineMode->count()));
    cbo_KougoCrIndexMode->setCurrentIndex(entryOrZero(colour, cbo_KougoCrIndexMode->count()));
}

void TfrmOption::setPage(int page) { pages->setCurrentIndex(entryOrZero(page, pages->count())); }
int TfrmOption::page() const { return pages->currentIndex(); }
bool TfrmOption::alternateModeOn() const { return chk_KougoMode->isChecked(); }
int TfrmOption::alternateBand() const { return cbo_KougoLineMode->currentIndex() + 1; }
int TfrmOption::alternateColour() const { return cbo_KougoCrIndexMode->currentIndex(); }

// ---- accepting --------------------------------------------------------------------------

void TfrmOption::cmd_OkClick() { acceptWith(true); }

void TfrmOption::cmd_OkSaveClick() {
    if (confirmRunOnly()) acceptWith(false);
}

bool TfrmOption::confirmRunOnly() {
    const auto ask = [](const char* text) {
        return Prompt::messageBox(text, "確認", PromptButtons::YesNo, PromptIcon::Warning,
                                  PromptAnswer::No) == PromptAnswer::Yes;
    };
    if (startEncodingChanged_ &&
        !ask("「起動時の文字コード」の内容は保持されません。\nよろしいですか？\n※保持する場合は「OK」ボタン"))
        return false;
    if (colourModeChanged_ &&
        !ask("「色情報ファイルの扱い」の内容は保持されません。\nよろしいですか？\n※保持する場合は「OK」ボタン"))
        return false;
    return true;
}

void TfrmOption::acceptWith(bool withOptions) {
    const int32_t scaleBefore = global.viewScale();
    storeFileOptions();
    editEncoding_ = entryEditEncoding(cbo_EditMozi->currentIndex());
    editLineEnd_ = cbo_EditRetCode->currentIndex();
    if (chk_EditBOM->isEnabled()) editBom_ = chk_EditBOM->isChecked();
    storeDesignOptions();
    if (!withOptions && global.viewScale() != scaleBefore) global.keepViewScaleForRun();
    global.saveSettings(withOptions);
    accepted_ = true;
    accept();
}

void TfrmOption::storeFileOptions() {
    CMyGlobal& g = global;
    g.setColourFileMode(entryOrZero(cbo_MakeFD->currentIndex(), 3));
    g.setColourListMax(fieldInt(txt_FdListMax->text(), 200));
    g.setReadEncoding(entryReadEncoding(cbo_ReadMozi->currentIndex()));
    // Outside 500000-10000000 (or not a number) the setter keeps the limit as it was.
    g.setMaxRows(static_cast<int32_t>(
        std::clamp<long long>(fieldNumber(txt_MaxRow->text()).value_or(0), 0, INT32_MAX)));
    g.setQuoteKind(quoteKinds->checkedId() < 0 ? 0 : quoteKinds->checkedId());
    g.setShowLineCursor(chk_LineCurUmu->isChecked());
    g.setCellOverflow(chk_CellOver->isChecked());
    storeUndoSize();
    g.setSimpleCalc(chk_SimpleCalc->isChecked());
    g.setPrintKind(entryOrZero(cbo_PrintKind->currentIndex(), 3));
    g.setViewScale(fieldInt(cbo_Scale->currentText(), 100));
    g.setCardScale(fieldInt(cbo_CardScale->currentText(), 100));
    g.setFileQuoteLineBreakOnly(chk_FileDblRetOnly->isChecked());
    g.setCopyQuoteLineBreakOnly(chk_CPDblRetOnly->isChecked());
    g.setLineBreakCopyWarning(chk_TabRetWarning->isChecked());
    g.setStartEncoding(entryEncoding(cbo_Mozi->currentIndex()));
    g.setStartLineEnd(cbo_RetCode->currentIndex());
    if (chk_BOM->isEnabled()) g.setStartBom(chk_BOM->isChecked());
}

void TfrmOption::storeUndoSize() {
    // An untouched field keeps the stored size, which need not be a whole number of KBytes;
    // rounding it would empty the undo journal for nothing. A typed size is limited to what
    // the journal can hold before it is multiplied, so no size overflows.
    const QString text = txt_UndoSize->text();
    if (text == shownUndoSize) return;
    const long long kbytes = std::clamp<long long>(fieldNumber(text).value_or(0), 1, 1000000);
    global.setUndoSize(static_cast<int32_t>(kbytes * 1000));
}

void TfrmOption::storeDesignOptions() {
    CMyGlobal& g = global;
    g.setShowCellLineBreaks(chk_RetView->isChecked());
    g.setSelectionColour(cbo_SelColorNo->currentIndex() == 1 ? 1 : 0);
    g.setShowEndLine(chk_EndLine->isChecked() ? 1 : 0);
    if (cbo_KougoLine->currentIndex() >= 0) g.setAlternateRows(cbo_KougoLine->currentIndex());
    if (cbo_KougoCrIndex->currentIndex() >= 0) g.setAlternateColour(cbo_KougoCrIndex->currentIndex());
}
