#include "PrintDialogs.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace reportwindows {

namespace {

PrintDialogs::PrintShower& printShower() {
    static PrintDialogs::PrintShower instance;
    return instance;
}

PrintDialogs::PreviewShower& previewShower() {
    static PrintDialogs::PreviewShower instance;
    return instance;
}

} // namespace

void PrintDialogs::setPrintShower(PrintShower shower) {
    printShower() = std::move(shower);
}

void PrintDialogs::setPreviewShower(PreviewShower shower) {
    previewShower() = std::move(shower);
}

bool PrintDialogs::showPrint(QPrinter& printer, QWidget* owner) {
    if (printShower())
        return printShower()(printer);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void PrintDialogs::showPreview(QPrintPreviewDialog& dialog) {
    if (previewShower())
        previewShower()(dialog);
    else
        dialog.exec();
}

} // namespace reportwindows
