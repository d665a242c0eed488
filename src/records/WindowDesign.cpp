#include "WindowDesign.h"

#include <QPushButton>

namespace records::design {

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = named<QPushButton>(parent, name);
    b->setText(QLatin1String(caption));
    b->setAutoDefault(false);
    return b;
}

} // namespace records::design
