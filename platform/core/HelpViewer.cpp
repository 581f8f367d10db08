// Help viewer service: forwards to the installed handler, or to the desktop's browser.
#include "platform/core/HelpViewer.h"

#include "platform/core/HelpManual.h"
#include "platform/core/Shell.h"

namespace {

// Batch runs and the tools have no window to own a help window; the browser is what is left.
class BrowserHelpViewer : public HelpViewerHandler {
public:
    bool showManual(const std::string& indexPath, const std::string& anchor) override {
        return Shell::openUrl(HelpManual::urlFor(indexPath, anchor));
    }
};

BrowserHelpViewer browserViewer;
HelpViewerHandler* installed = nullptr;

HelpViewerHandler& current() { return installed ? *installed : browserViewer; }

} // namespace

void HelpViewer::install(HelpViewerHandler* handler) { installed = handler; }

bool HelpViewer::showManual(const std::string& indexPath, const std::string& anchor) {
    return current().showManual(indexPath, anchor);
}
