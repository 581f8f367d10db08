// PrinterSetup: the page set-up of a run - printer, paper, orientation, margins - as a value.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>

// QPrinter cannot be copied, so the set-up is kept as plain values and a printer is built from
// it for each dialog or job. Margins are in hundredths of a millimetre.
struct PrinterSetup {
    QString printerName;   // empty: no printer chosen
    QString outputFile;    // non-empty: print into this PDF file instead of a printer
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int marginLeft = 1000;
    int marginTop = 1000;
    int marginRight = 1000;
    int marginBottom = 1000;
    // What the printer set-up chose for the job.
    int copies = 1;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPrinter::ColorMode colorMode = QPrinter::Color;
};
