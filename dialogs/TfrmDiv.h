// TfrmDiv: asks for the one delimiter character of a join or a split.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;

class TfrmDiv : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDiv(QWidget* parent = nullptr);

    // Pre-fills the field with a delimiter (CP932 bytes).
    void setDelimiter(const std::string& cp932);
    // The accepted delimiter: one whole character as CP932 bytes, TAB and record bytes made
    // spaces.
    const std::string& delimiter() const { return delimiter_; }

    // Shows the dialog with `caption` ("文字列結合" or "文字列分解") and the last delimiter;
    // the entered one, or nothing when cancelled.
    static std::optional<std::string> ask(QWidget* parent, const QString& caption,
                                          const std::string& last);

private:
    void confirm();

    QLineEdit* txt_Div = nullptr;
    std::string delimiter_;
};
