// QtSaveForms: modal runs of the two save forms.
#include "dialogs/QtSaveForms.h"

#include "dialogs/TfrmSaveChg.h"
#include "dialogs/TfrmSaveExp.h"

bool QtSaveForms::showSaveChg(EncodingChoice& choice) {
    TfrmSaveChg form(parent);
    form.preset(choice);
    if (form.exec() != QDialog::Accepted) return false;
    choice = form.choice();
    return true;
}

bool QtSaveForms::showSaveExp(ExportChoice& choice) {
    TfrmSaveExp form(parent);
    form.preset(choice);
    if (form.exec() != QDialog::Accepted) return false;
    choice = form.choice();
    return true;
}
