#include "MDIForm1.h"

namespace shell {

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Drivolex"));
}

} // namespace shell
