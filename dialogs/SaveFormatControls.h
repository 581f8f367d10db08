// SaveFormatControls: the encoding, line-ending and BOM controls shared by the two save forms.
#pragma once

#include <QObject>

#include "store/SaveFormHandler.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDialog;
class QGridLayout;
class QWidget;

// The encoding list "SHIFT-JIS", "UTF8", "UTF16", the line-ending list "CR+LF", "CR", "LF" and
// the box "BOMの有", which is enabled exactly when the encoding is not SHIFT-JIS.
class SaveFormatControls : public QObject {
    Q_OBJECT
public:
    SaveFormatControls(QWidget* owner, QGridLayout* layout, int firstRow);

    // The two buttons of both forms, "保存先を指定(&S)..." (accept, default) and
    // "キャンセル(&C)", right-aligned at the end of `layout`.
    static void addButtons(QDialog* form, QBoxLayout* layout);

    void preset(const EncodingChoice& choice);
    EncodingChoice choice() const;

private:
    void encodingChanged(int entry);

    QComboBox* encoding;
    QComboBox* lineEnding;
    QCheckBox* bom;
};
