// CMyPrint: page set-up, printer choice and the print job, on QPrinter and its dialogs.
#include "print/CMyPrint.h"

#include "platform/core/Prompt.h"
#include "print/CMyHyoPrn.h"
#include "print/TfrmPrnDlg.h"
#include "settings/CMyGlobal.h"

#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {


bool plausibleDpi(double dpi) { return dpi >= 50 && dpi <= 400; }

void printFailed(const char* caption, PromptIcon icon) {
    Prompt::messageBox("印刷に失敗しました。", caption, PromptButtons::Ok, icon);
}

} // namespace

CMyPrint::CMyPrint(CMyGlobal& global) : global_(global) {}

CMyPrint::~CMyPrint() { endDocument(); }

void CMyPrint::ensureDefaults() {
    if (defaultsSet_) return;
    defaultsSet_ = true;
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return;
    setup_.printerName = printer.printerName();
    if (printer.defaultPageSize().isValid()) setup_.pageSize = printer.defaultPageSize();
}

QSizeF CMyPrint::paperSize() const {
    if (!setup_.pageSize.isValid()) return QSizeF(21000, 29700);
    const QSizeF mm = setup_.pageSize.size(QPageSize::Millimeter);
    const QSizeF size(mm.width() * 100, mm.height() * 100);
    return setup_.orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QMargins CMyPrint::pageMargins() const {
    return QMargins(setup_.marginLeft, setup_.marginTop, setup_.marginRight, setup_.marginBottom);
}

QPointF CMyPrint::screenDpi(const QWidget* owner) {
    const QScreen* screen = owner && owner->screen() ? owner->screen()
                                                     : QGuiApplication::primaryScreen();
    if (!screen) return QPointF(96, 96);
    return chooseDpi(QPointF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()),
                     screen->physicalSize(), screen->geometry().size());
}

QPointF CMyPrint::chooseDpi(QPointF logical, QSizeF millimetres, QSize pixels) {
    if (plausibleDpi(logical.x()) && plausibleDpi(logical.y())) return logical;
    if (millimetres.width() > 0 && millimetres.height() > 0) {
        const QPointF physical(pixels.width() * 25.4 / millimetres.width(),
                               pixels.height() * 25.4 / millimetres.height());
        if (plausibleDpi(physical.x()) && plausibleDpi(physical.y())) return physical;
    }
    return QPointF(96, 96);
}

std::unique_ptr<QPrinter> CMyPrint::makePrinter(const PrinterSetup& setup, bool always) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!setup.outputFile.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(setup.outputFile);
    } else if (!setup.printerName.isEmpty() &&
               !QPrinterInfo::printerInfo(setup.printerName).isNull()) {
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(setup.printerName);
    } else if (!always) {
        return nullptr;
    } else {
        printer->setOutputFormat(QPrinter::PdfFormat);
    }
    if (setup.pageSize.isValid()) printer->setPageSize(setup.pageSize);
    printer->setPageOrientation(setup.orientation);
    printer->setPageMargins(QMarginsF(setup.marginLeft / 100.0, setup.marginTop / 100.0,
                                      setup.marginRight / 100.0, setup.marginBottom / 100.0),
                            QPageLayout::Millimeter);
    printer->setCopyCount(std::max(setup.copies, 1));
    printer->setDuplex(setup.duplex);
    printer->setColorMode(setup.colorMode);
    printer->setDocName(QStringLiteral("Vexil"));
    return printer;
}

void CMyPrint::takeOver(const QPrinter& printer, PrinterSetup& setup) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        setup.outputFile = printer.outputFileName();
    } else if (printer.outputFormat() == QPrinter::NativeFormat) {
        setup.printerName = printer.printerName();
        setup.outputFile.clear();
    }
    const QPageLayout layout = printer.pageLayout();
    setup.pageSize = layout.pageSize();
    setup.orientation = layout.orientation();
    const QMarginsF mm = layout.margins(QPageLayout::Millimeter);
    setup.marginLeft = qRound(mm.left() * 100);
    setup.marginTop = qRound(mm.top() * 100);
    setup.marginRight = qRound(mm.right() * 100);
    setup.marginBottom = qRound(mm.bottom() * 100);
    setup.copies = printer.copyCount();
    setup.duplex = printer.duplex();
    setup.colorMode = printer.colorMode();
}

PageFrame CMyPrint::pageFrame(const QPrinter* printer, QPointF screenDpi, double dataSize) const {
    PageFrame frame;
    frame.screenDpi = screenDpi;
    frame.dataSize = dataSize;
    if (!printer) {
        frame.paper = paperSize();
        frame.margins = pageMargins();
        return frame;
    }
    // The margins are ours, but never below what the printer can reach.
    QPageLayout layout = printer->pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    frame.paper = QSizeF(paper.width() * 100, paper.height() * 100);
    const QMarginsF minimum = layout.minimumMargins();
    const auto margin = [](int hundredths, double leastMm) {
        return std::max({hundredths, static_cast<int>(leastMm * 100 + 0.5), 0});
    };
    frame.margins = QMargins(margin(setup_.marginLeft, minimum.left()),
                             margin(setup_.marginTop, minimum.top()),
                             margin(setup_.marginRight, minimum.right()),
                             margin(setup_.marginBottom, minimum.bottom()));
    return frame;
}

PageFrame CMyPrint::previewFrame(QPointF screenDpi, double dataSize) const {
    const std::unique_ptr<QPrinter> printer = makePrinter(setup_);
    return pageFrame(printer.get(), screenDpi, dataSize);
}

bool CMyPrint::showPageSetup(QWidget* owner) {
    ensureDefaults();
    std::unique_ptr<QPrinter> printer = makePrinter(setup_, true);
    QPageSetupDialog dialog(printer.get(), owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    takeOver(*printer, setup_);
    return true;
}

// ---- printer choice ---------------------------------------------------------------------

std::unique_ptr<QPrinter> CMyPrint::choosePrinter(QWidget* owner) {
    firstPage_ = 1;
    lastPage_ = AllPages;
    switch (global_.printKind()) {
    case 1: return choosePrinterCommon(owner);
    case 2: return choosePrinterNone();
    default: return choosePrinterOwn(owner);
    }
}

std::unique_ptr<QPrinter> CMyPrint::defaultPrinter() const {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    PrinterSetup setup = setup_;
    setup.printerName = info.printerName();
    setup.outputFile.clear();
    return makePrinter(setup);
}

// Without any printer the pages go into a PDF file the user names.
std::unique_ptr<QPrinter> CMyPrint::printerToFile() const {
    const FileChoice choice = Prompt::chooseSaveFile("印刷", "PDF (*.pdf)|*.pdf", 1, "vexil.pdf");
    if (!choice.accepted || choice.path.empty()) return nullptr;
    PrinterSetup setup = setup_;
    setup.outputFile = QString::fromStdString(choice.path);
    return makePrinter(setup);
}

std::unique_ptr<QPrinter> CMyPrint::choosePrinterOwn(QWidget* owner) {
    ensureDefaults();
    TfrmPrnDlg dialog(owner, setup_, QString(), 0);
    dialog.exec();
    if (dialog.runResult() != 1) return nullptr;
    firstPage_ = dialog.fromPage();
    lastPage_ = dialog.toPage();
    if (dialog.printerChanged()) setup_ = dialog.setup();
    if (auto printer = makePrinter(dialog.setup())) return printer;
    if (auto printer = defaultPrinter()) return printer;
    return printerToFile();
}

std::unique_ptr<QPrinter> CMyPrint::choosePrinterCommon(QWidget* owner) {
    ensureDefaults();
    std::unique_ptr<QPrinter> printer = makePrinter(setup_);
    if (!printer) printer = defaultPrinter();
    if (!printer) printer = makePrinter(setup_, true);
    QPrintDialog dialog(printer.get(), owner);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    // Printing into a file stays offered where it is the only way out (no printer) or the
    // set-up already chose it.
    dialog.setOption(QAbstractPrintDialog::PrintToFile,
                     printer->outputFormat() == QPrinter::PdfFormat);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, 10000);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
        firstPage_ = dialog.fromPage();
        lastPage_ = dialog.toPage();
        printer->setFromTo(0, 0);   // the job itself picks the pages
    }
    if (printer->outputFormat() == QPrinter::PdfFormat && printer->outputFileName().isEmpty())
        return nullptr;
    return printer;
}

std::unique_ptr<QPrinter> CMyPrint::choosePrinterNone() {
    ensureDefaults();
    if (auto printer = makePrinter(setup_)) return printer;
    if (auto printer = defaultPrinter()) return printer;
    printFailed("Print", PromptIcon::Warning);
    return nullptr;
}

// ---- the job ----------------------------------------------------------------------------

int CMyPrint::printTable(QWidget* owner, const CMyHyo& hyo, const CMyHyoCom& com, bool gridLines,
                         double factor) {
    if (factor <= 0) factor = 0.2;
    const QPointF screen = screenDpi(owner);
    std::unique_ptr<QPrinter> printer = choosePrinter(owner);
    if (!printer) return 0;

    // The page is drawn on the whole sheet, so that no physical offset applies.
    printer->setFullPage(true);
    CMyHyoPrn pages(hyo, com);
    pages.setGridLines(gridLines);
    pages.setOverflow(global_.cellOverflow());
    pages.layoutFrame(printer.get(), pageFrame(printer.get(), screen, factor),
                      QPointF(std::max(printer->logicalDpiX(), 1), std::max(printer->logicalDpiY(), 1)));
    // A table without columns, or without rows and titles, has only a blank page: nothing
    // to print.
    const bool blank = pages.pageFirstColumn(1) < 0 ||
                       (pages.pageFirstRow(1) < 0 && pages.headerStrip() == 0);
    const int first = std::max(firstPage_, 1);
    const int last = std::min(lastPage_, pages.pageCount());
    if (first > last || blank) {
        Prompt::warn("印刷するページがありません。");
        return 0;
    }
    printer_ = std::move(printer);
    if (!startDocument()) return -1;
    int printed = 0;
    for (int page = first; page <= last; ++page) {
        if (!startPage()) break;
        pages.drawPage(painter_, page);
        ++printed;
    }
    endDocument();
    return printed == last - first + 1 ? printed : -1;
}

bool CMyPrint::startDocument() {
    if (!printer_) {
        Prompt::messageBox("HDCが取得されてません。", "Print", PromptButtons::Ok,
                           PromptIcon::Warning);
        return false;
    }
    printer_->setDocName(QStringLiteral("Vexil"));
    if (!painter_.begin(printer_.get())) {
        printFailed("StartDoc", PromptIcon::Error);
        printer_.reset();
        return false;
    }
    docStarted_ = true;
    pagesStarted_ = 0;
    return true;
}

// The first page comes with the document; every further one is asked for.
bool CMyPrint::startPage() {
    if (pagesStarted_++ == 0) return true;
    if (printer_->newPage()) return true;
    printFailed("StartPage", PromptIcon::Error);
    return false;
}

void CMyPrint::endDocument() {
    if (docStarted_) painter_.end();
    docStarted_ = false;
    printer_.reset();
}
