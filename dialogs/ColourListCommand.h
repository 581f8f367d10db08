// ColourListCommand: loading colour information from the temporary store - the steps around
// the list dialog.
#pragma once

#include <functional>
#include <string>

class CMyGlobal;
class QWidget;
struct DocumentState;

// What the command needs from the main window.
struct ColourListWindow {
    // Starts another instance on a data file; false when it could not be started.
    std::function<bool(const std::string& path)> startInstance;
    // Reads the document again from its path with the stored colours of `tempName`.
    std::function<void(const std::string& tempName)> reopen;
};

class ColourListCommand {
public:
    // Shows the list for `doc`; when an entry was chosen (and unsaved changes may be dropped)
    // reopens the document with it. True when the document was reopened.
    static bool run(QWidget* parent, CMyGlobal& global, const DocumentState& doc,
                    const ColourListWindow& window);
};
