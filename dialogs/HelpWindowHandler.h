// HelpWindowHandler: shows the manual in the help window of one main window, which owns it.
#pragma once

#include "platform/core/HelpViewer.h"

#include <QPointer>

class QWidget;
class TfrmHelp;

// Installed for the running program with the main window as owner. The help window is made
// on the first request and reused after that, also when the user has closed it.
class HelpWindowHandler : public HelpViewerHandler {
public:
    explicit HelpWindowHandler(QWidget* owner) : owner_(owner) {}

    bool showManual(const std::string& indexPath, const std::string& anchor) override;
    // The help window, or nullptr before the first request.
    TfrmHelp* window() const;

private:
    QWidget* owner_;
    QPointer<TfrmHelp> window_;
};
