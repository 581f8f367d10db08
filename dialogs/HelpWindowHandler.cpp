// HelpWindowHandler: one help window per owner, made on demand.
#include "dialogs/HelpWindowHandler.h"

#include "dialogs/TfrmHelp.h"

#include <QString>

bool HelpWindowHandler::showManual(const std::string& indexPath, const std::string& anchor) {
    if (!window_) window_ = new TfrmHelp(owner_);
    return window_->showPage(QString::fromStdString(indexPath), QString::fromStdString(anchor));
}

TfrmHelp* HelpWindowHandler::window() const { return window_; }
