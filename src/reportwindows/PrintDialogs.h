#pragma once

#include <functional>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace reportwindows {

// The print dialog and the print preview, shown modally; tests put a shower in
// their place, as platform::FileDialog's seam does for the file dialogs.
class PrintDialogs {
public:
    // Gets the printer as the dialog would and returns true to print, false for a
    // cancel; it may change the printer (a PDF file as its output, say).
    using PrintShower = std::function<bool(QPrinter& printer)>;
    // Gets the preview, which paints its pages when shown or updated.
    using PreviewShower = std::function<void(QPrintPreviewDialog& dialog)>;

    static void setPrintShower(PrintShower shower);
    static void setPreviewShower(PreviewShower shower);

    // The print dialog over owner (page ranges are not offered: a report prints
    // whole); true when the user chose to print.
    static bool showPrint(QPrinter& printer, QWidget* owner);
    static void showPreview(QPrintPreviewDialog& dialog);
};

} // namespace reportwindows
