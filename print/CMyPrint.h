// CMyPrint: the printer side of printing - the run's page set-up, the choice of printer by the
// PRINT_KIND setting, and the print job that sends the pages of the table.
#pragma once

#include "print/CMyHyoPrn.h"
#include "print/PrinterSetup.h"

#include <QMargins>
#include <QPainter>
#include <QPointF>
#include <QSize>
#include <QSizeF>

#include <climits>
#include <memory>

class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class QPrinter;
class QWidget;

// One per main window. The page set-up lives for the run and is not saved in the settings.
class CMyPrint {
public:
    static constexpr int AllPages = INT_MAX;

    explicit CMyPrint(CMyGlobal& global);
    ~CMyPrint();
    CMyPrint(const CMyPrint&) = delete;
    CMyPrint& operator=(const CMyPrint&) = delete;

    // Fills the set-up once from the default printer (A4 when there is none), 10 mm margins.
    void ensureDefaults();
    // The system page set-up dialog (paper, orientation, margins); true when confirmed.
    bool showPageSetup(QWidget* owner);
    // Paper size in hundredths of a millimetre as oriented; A4 while no size is set.
    QSizeF paperSize() const;
    // Margins in hundredths of a millimetre.
    QMargins pageMargins() const;
    // The paper the pages are laid out on: a printer's paper with the set-up's margins, kept
    // at least at the printer's minimum; without a printer the set-up's paper and margins.
    PageFrame pageFrame(const QPrinter* printer, QPointF screenDpi, double dataSize) const;
    // The frame the print job will use, for the preview.
    PageFrame previewFrame(QPointF screenDpi, double dataSize) const;
    PrinterSetup& setup() { return setup_; }
    const PrinterSetup& setup() const { return setup_; }

    // Prints the table as the view shows it: chooses the printer by PRINT_KIND, lays the pages
    // out at `factor` times the table's size on the screen (0 or less is taken as 0.2) and
    // sends the pages of the chosen range. Returns the pages sent, 0 when nothing was printed
    // (cancelled, or a range without pages, which says so), -1 when the job failed.
    int printTable(QWidget* owner, const CMyHyo& hyo, const CMyHyoCom& com, bool gridLines,
                   double factor);
    int firstPage() const { return firstPage_; }
    int lastPage() const { return lastPage_; }

    // Screen resolution in dots per inch: the logical one, else the one the physical size
    // gives, else 96 (a screen reporting no or an absurd size).
    static QPointF screenDpi(const QWidget* owner);
    // The same choice from what a screen reports: its logical resolution, its physical size
    // in millimetres and its size in pixels.
    static QPointF chooseDpi(QPointF logical, QSizeF millimetres, QSize pixels);
    // A printer for a set-up; null when it names neither an installed printer nor an output
    // file, unless `always` (dialogs then start from a PDF printer).
    static std::unique_ptr<QPrinter> makePrinter(const PrinterSetup& setup, bool always = false);
    // Takes over what a dialog changed on a printer built by makePrinter.
    static void takeOver(const QPrinter& printer, PrinterSetup& setup);

private:
    std::unique_ptr<QPrinter> choosePrinter(QWidget* owner);
    std::unique_ptr<QPrinter> choosePrinterOwn(QWidget* owner);
    std::unique_ptr<QPrinter> choosePrinterCommon(QWidget* owner);
    std::unique_ptr<QPrinter> choosePrinterNone();
    std::unique_ptr<QPrinter> defaultPrinter() const;
    std::unique_ptr<QPrinter> printerToFile() const;
    bool startDocument();
    bool startPage();
    void endDocument();

    CMyGlobal& global_;
    PrinterSetup setup_;
    bool defaultsSet_ = false;
    std::unique_ptr<QPrinter> printer_;   // of the current job
    QPainter painter_;
    bool docStarted_ = false;
    int pagesStarted_ = 0;
    int firstPage_ = 1;
    int lastPage_ = AllPages;
};
