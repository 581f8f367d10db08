// TfrmCRList: "一時保存の色情報一覧" - the entries of the temporary colour store (vxc.lst).
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class CMyGlobal;
class QFont;
class QLayout;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Lists vxc.lst; loads one entry's colours (by closing with its name chosen), starts another
// instance on an entry's data file, or deletes an entry (Delete key in the list).
class TfrmCRList : public QDialog {
    Q_OBJECT
public:
    // Starts another instance on a data file; false when it could not be started (the
    // starter shows its own message).
    using InstanceStarter = std::function<bool(const std::string& path)>;

    static constexpr int MinLineBytes = 44;      // shorter list lines hold no path
    static constexpr int MaxLineBytes = 360;     // lines this long or longer are not shown
    static constexpr int ShownPathColumn = 42;

    explicit TfrmCRList(CMyGlobal& global, QWidget* parent = nullptr);

    // The open document's temporary name ("" when it has none); rebuilds the list.
    void setCurrentName(const std::string& name);
    void setReloadEnabled(bool on);
    void setInstanceStarter(InstanceStarter starter) { startInstance = std::move(starter); }
    // Rereads vxc.lst into the list.
    void loadList();

    // The displayed form of list line `line`, marked when it belongs to `currentName`.
    static QString displayLine(const std::string& line, const std::string& currentName);

    // ---- results ----
    bool nameChosen() const { return nameChosen_; }
    const std::string& currentName() const { return currentName_; }
    int currentEntry() const { return currentEntry_; }
    int pathColumn() const { return pathColumn_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void cmd_ReLoadClick();
    void openLinkedFile();
    void deleteEntry();

private:
    QLayout* headerOverList(const QFont& listFont);
    // The raw list line of the selected row, or null (after the message) when none is chosen.
    const QListWidgetItem* selectedEntry() const;
    static std::string rawLine(const QListWidgetItem* item);
    bool isCurrentDocument(const std::string& line) const;
    static bool isValidLine(const std::string& line);

    CMyGlobal& global;
    QListWidget* lst_Main;
    QPushButton* cmd_ReLoad;
    QPushButton* cmd_Open;
    InstanceStarter startInstance;

    std::string currentName_;
    int currentEntry_ = -1;
    int pathColumn_ = 0;
    bool nameChosen_ = false;
};
