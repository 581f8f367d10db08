// DocumentSaver: the save flow run for the main window's File commands.
#include "app/DocumentSaver.h"

#include "app/CommandContext.h"
#include "app/CommandSurfaces.h"
#include "grid/Navigator.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "view/CMyHyoDraw.h"

#include <QApplication>

DocumentSaver::DocumentSaver(CommandContext& c) : context(c) {}

void DocumentSaver::showWaitCursor(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

SaveFlowWindow DocumentSaver::flowWindow() {
    SaveFlowWindow w;
    w.closeEditor = [this] { context.commitEdit(); };
    // The notice outlives the next two refreshes of the status bar.
    w.setColourNote = [this](const std::string& text) {
        context.setStatusMessage(text, text.empty() ? 0 : 2);
    };
    w.waitCursor = showWaitCursor;
    w.viewSettings = [this](int& freezeFirst, int& freezeEnd, int& alternate) {
        freezeFirst = context.view().frozenStart();
        freezeEnd = context.view().frozenEnd();
        const Navigator& n = context.navigation();
        alternate = n.alternateMode() ? n.alternateLines() * 1000 + n.alternateScheme() : 0;
    };
    w.refresh = [this] { refreshDocumentState(); };
    return w;
}

void DocumentSaver::refreshDocumentState() {
    context.updateCaption(context.document().modified, true);
    context.updateColourSaveButton();
    context.updateFormatPanels();
}

bool DocumentSaver::saveDocument(bool saveAs) {
    SaveFlow flow(context.hyo(), context.global(), context.document(), flowWindow());
    return flow.saveDocument(saveAs);
}

void DocumentSaver::saveWithEncoding() {
    SaveFlow flow(context.hyo(), context.global(), context.document(), flowWindow());
    flow.saveWithEncoding();
    refreshDocumentState();
}

void DocumentSaver::exportRows() {
    const CMyHyoDraw& view = context.view();
    const SelectionBounds b = view.selectionBounds();
    const bool wholeRows = view.selState() == SelMade && view.selKind() == SelRows;
    SaveFlow flow(context.hyo(), context.global(), context.document(), flowWindow());
    flow.exportCommand(wholeRows, b.top + 1, b.bottom + 1);
}

void DocumentSaver::colourFileCommand(int tag) {
    SaveFlow flow(context.hyo(), context.global(), context.document(), flowWindow());
    flow.colourFileCommand(tag);
    refreshDocumentState();
}

void DocumentSaver::toggleSaveFormat(bool pressed) {
    SaveFlow flow(context.hyo(), context.global(), context.document(), flowWindow());
    context.commands().setChecked("tb_SaveFMT", flow.toggleSaveFormat(pressed));
    refreshDocumentState();
}
