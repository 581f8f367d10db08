// TfrmInfomation: the modal window that lists the selection's range and cell-size statistics.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

class TfrmInfomation : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfomation(QWidget* parent = nullptr);

    // Replaces the list with the given lines (UTF-8), one entry each.
    void setItems(const std::vector<std::string>& items);
    QListWidget* list() const { return lst_Main; }

    // Shows the lines modally; the window is destroyed when closed.
    static void showItems(QWidget* parent, const std::vector<std::string>& items);

private:
    QListWidget* lst_Main = nullptr;
};
