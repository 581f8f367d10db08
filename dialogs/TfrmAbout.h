// TfrmAbout: the about box, product name and version.
#pragma once

#include <QDialog>

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    static constexpr const char* productName = "Vexil";
    static constexpr const char* versionText = "Ver 1.52";
};
