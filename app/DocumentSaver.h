// DocumentSaver: the main window's save, save-with-encoding, export and colour-file commands,
// each a run of the save flow with what it needs from the window.
#pragma once

class CommandContext;
struct SaveFlowWindow;

class DocumentSaver {
public:
    explicit DocumentSaver(CommandContext& context);

    // True when the document was written (a cancelled dialog or a failed write is false).
    bool saveDocument(bool saveAs);
    void saveWithEncoding();
    // The selected whole rows, or a number of rows asked for, into another file.
    void exportRows();
    // Colour information beside the data file (tag 0) or in the temporary store (tag 1).
    void colourFileCommand(int tag);
    // The colour-save button was pressed or released; the flow decides whether it stays so.
    void toggleSaveFormat(bool pressed);

    // The hourglass the open and save flows show while they read or write.
    static void showWaitCursor(bool on);

private:
    SaveFlowWindow flowWindow();
    // Caption, colour button and format panels after a save or a colour-file command.
    void refreshDocumentState();

    CommandContext& context;
};
