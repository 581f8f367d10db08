// QtSaveForms: shows TfrmSaveChg and TfrmSaveExp for the save flows.
#pragma once

#include "store/SaveFormHandler.h"

class QWidget;

// The main window creates one and installs it (SaveFormHandler::install) at start-up.
class QtSaveForms : public SaveFormHandler {
public:
    explicit QtSaveForms(QWidget* parent = nullptr) : parent(parent) {}

    bool showSaveChg(EncodingChoice& choice) override;
    bool showSaveExp(ExportChoice& choice) override;

private:
    QWidget* parent;
};
