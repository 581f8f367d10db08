// CommandSurfaces: menus, toolbar, rules, user keys and the one wrapping of every command.
#include "app/CommandSurfaces.h"

#include "app/CommandRules.h"
#include "app/CommandTable.h"
#include "app/CommandContext.h"
#include "dialogs/TfrmTool.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cstring>

namespace {

// The images of the toolbar buttons: a standard icon or, where none fits, a letter.
struct ButtonImage {
    const char* name;
    QStyle::StandardPixmap icon;
    const char* letter;
};

constexpr ButtonImage buttonImages[] = {
    {"tb_New", QStyle::SP_FileIcon, ""},
    {"tb_Open", QStyle::SP_DialogOpenButton, ""},
    {"tb_Save", QStyle::SP_DialogSaveButton, ""},
    {"tb_SaveFMT", QStyle::SP_CustomBase, "色"},
    {"tb_Preview", QStyle::SP_FileDialogContentsView, ""},
    {"tb_Find", QStyle::SP_FileDialogDetailedView, ""},
    {"tb_SortUp", QStyle::SP_ArrowUp, ""},
    {"tb_SortDown", QStyle::SP_ArrowDown, ""},
    {"tb_Filter", QStyle::SP_CustomBase, "抽"},
    {"tb_FilterSet", QStyle::SP_CustomBase, "設"},
    {"tb_KindText", QStyle::SP_CustomBase, "文"},
    {"tb_KindNum", QStyle::SP_CustomBase, "数"},
    {"tb_Ret", QStyle::SP_ArrowRight, ""},
    {"tb_Card", QStyle::SP_FileDialogListView, ""},
};

bool isSeparator(const char* item) { return std::strcmp(item, "-") == 0; }

} // namespace

CommandSurfaces::CommandSurfaces(CommandContext& c, QWidget& w)
    : QObject(&w), context(c), window(w) {}

void CommandSurfaces::build(QMenuBar* menuBar, QToolBar* toolBar, int buttonWidth) {
    for (const Command& c : CommandTable::all()) {
        if (c.caption) makeAction(c, c.name);
        // A button of its own, also where a menu item runs the same command.
        if (c.button) makeAction(c, c.button);
    }
    buildMenus(menuBar);
    buildToolBar(toolBar, buttonWidth);
    frmTool = new TfrmTool(context.hyoCom(), &window);
    connect(frmTool, &TfrmTool::commandClicked, this,
            [this](int mode, int row) { runPaletteSlot(mode, row); });
    connect(frmTool, &TfrmTool::colourClicked, this,
            [this](bool text, int index) { runSwatch(text, index); });
    refresh();
}

QAction* CommandSurfaces::makeAction(const Command& c, const char* name) {
    auto* a = new QAction(&window);
    a->setObjectName(name);
    const bool isButton = c.button && std::strcmp(name, c.button) == 0;
    if (isButton) {
        a->setToolTip(QString::fromUtf8(c.hint));
        a->setStatusTip(QString::fromUtf8(c.hint));
    } else {
        a->setText(QString::fromUtf8(c.caption));
        QList<QKeySequence> keys;
        for (const char* key : {c.shortcut, c.otherShortcut})
            if (key) keys << QKeySequence(QString::fromLatin1(key));
        a->setShortcuts(keys);
    }
    a->setCheckable(c.check != CheckRule::None);
    const Command* command = &c;
    connect(a, &QAction::triggered, this, [this, command] { run(*command); });
    actions[name] = a;
    return a;
}

void CommandSurfaces::buildMenus(QMenuBar* menuBar) {
    for (const MenuLayout& layout : CommandTable::menus()) {
        QMenu* m = layout.parent ? new QMenu(QString::fromUtf8(layout.caption), &window)
                                 : menuBar->addMenu(QString::fromUtf8(layout.caption));
        m->setObjectName(layout.name);
        menus[layout.name] = m;
        const QString name = QString::fromLatin1(layout.name);
        connect(m, &QMenu::aboutToShow, this, [this, name] {
            refresh();
            emit menuOpening(name);
        });
    }
    // Items after every menu exists, so a submenu can stand at its place in its parent.
    for (const MenuLayout& layout : CommandTable::menus()) {
        QMenu* m = menus[layout.name];
        for (const char* item : layout.items) {
            if (isSeparator(item)) m->addSeparator();
            else if (auto sub = menus.find(item); sub != menus.end()) m->addMenu(sub->second);
            else if (QAction* a = action(item)) m->addAction(a);
        }
    }
}

void CommandSurfaces::buildToolBar(QToolBar* toolBar, int buttonWidth) {
    QStyle* st = window.style();
    for (const char* item : CommandTable::toolBar()) {
        if (isSeparator(item)) {
            toolBar->addSeparator();
            continue;
        }
        QAction* a = action(item);
        if (!a) continue;
        for (const ButtonImage& image : buttonImages) {
            if (std::strcmp(image.name, item) != 0) continue;
            if (image.icon != QStyle::SP_CustomBase) a->setIcon(st->standardIcon(image.icon));
            else a->setText(QString::fromUtf8(image.letter));
        }
        toolBar->addAction(a);
        if (QWidget* b = toolBar->widgetForAction(a)) {
            b->setFixedWidth(buttonWidth);
            // A button shows a picture or a letter; screen readers name it by its hint.
            b->setAccessibleName(a->toolTip());
            b->setToolTip(a->toolTip());
        }
    }
}

QAction* CommandSurfaces::action(const char* name) const {
    if (!name) return nullptr;
    const auto found = actions.find(name);
    return found == actions.end() ? nullptr : found->second;
}

QAction& CommandSurfaces::checkedAction(const char* name) const {
    QAction* a = action(name);
    if (!a) qFatal("No menu item or toolbar button is named %s", name ? name : "(none)");
    return *a;
}

QMenu* CommandSurfaces::menu(const char* name) const {
    const auto found = menus.find(name);
    return found == menus.end() ? nullptr : found->second;
}

void CommandSurfaces::setChecked(const char* name, bool checked) {
    if (QAction* a = action(name)) a->setChecked(checked);
}

void CommandSurfaces::refresh() {
    const CommandState state = context.commandState();
    for (const Command& c : CommandTable::all()) {
        const bool on = CommandRules::enabled(c.enable, state);
        const bool follow = c.check != CheckRule::None && c.check != CheckRule::Own;
        for (QAction* a : {action(c.caption ? c.name : nullptr), action(c.button)}) {
            if (!a) continue;
            a->setEnabled(on);
            if (follow) a->setChecked(CommandRules::checked(c.check, state));
        }
    }
    for (const MenuLayout& layout : CommandTable::menus())
        if (QMenu* m = menu(layout.name)) m->setEnabled(CommandRules::enabled(layout.enable, state));
}

bool CommandSurfaces::run(const Command& c) {
    if (!CommandRules::enabled(c.enable, context.commandState())) return false;
    if ((c.wrap & Wrap::Blocked) && context.isEditing()) {
        // A toggle clicked while blocked keeps the state it had.
        if (c.check == CheckRule::Own)
            if (QAction* a = action(c.button)) a->setChecked(!a->isChecked());
        return false;
    }
    if (c.wrap & Wrap::Commit) context.commitEdit();
    const bool done = c.run && c.run(context, c);
    if (done) {
        if (c.wrap & Wrap::RaiseRanges) context.raiseScrollRanges();
        if (c.wrap & Wrap::Redraw) context.redrawGrid(true);
        if (c.wrap & Wrap::Modified) context.updateCaption(true, false);
        if (c.wrap & Wrap::Status) context.updateStatus(0);
        else if (c.wrap & Wrap::StatusNoSize) context.updateStatus(1);
    }
    refresh();
    return done;
}

bool CommandSurfaces::activate(const Command& c) {
    for (QAction* a : {action(c.button), action(c.caption ? c.name : nullptr)}) {
        if (!a) continue;
        if (!a->isEnabled()) return false;
        a->trigger();
        return true;
    }
    return run(c);
}

void CommandSurfaces::runUserKey(int digit, bool shift) {
    if (digit < 1 || digit > 9) return;
    const int number = context.global().userKey(digit - 1, shift);
    if (number == -1) {
        Prompt::warn("使用出来ないユーザー定義キーです。");
        return;
    }
    const Command* c = CommandTable::byUserFunction(number);
    if (!c) {
        Prompt::warn("ユーザー定義キーに機能が割り当てられていません。");
        return;
    }
    refresh();
    activate(*c);
}

bool CommandSurfaces::runPaletteSlot(int mode, int row) {
    const Command* c = CommandTable::byPaletteSlot(mode, row);
    return c && run(*c);
}

// The swatches run the same entries as the user keys 100..116 and 200..216.
bool CommandSurfaces::runSwatch(bool text, int index) {
    const Command* c = CommandTable::byUserFunction((text ? 201 : 101) + index);
    return c && run(*c);
}

void CommandSurfaces::showPalette(int mode, const QPoint& globalPos) {
    QStringList captions;
    for (int row = 0;; ++row) {
        const Command* c = CommandTable::byPaletteSlot(mode, row);
        if (!c) break;
        for (const PaletteSlot& slot : c->palette)
            if (slot.mode == mode && slot.row == row) captions << QString::fromUtf8(slot.caption);
    }
    const QRect frame = window.frameGeometry();
    QPoint at = globalPos;
    at.setX(std::min(at.x(), frame.right() + 1 - frmTool->width()));
    at.setY(std::min(at.y(), frame.bottom() + 1 - frmTool->height()));
    frmTool->showMode(mode, captions, at);
}
