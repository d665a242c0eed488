#include "WindowDesign.h"

#include <QGridLayout>
#include <QPushButton>

namespace records::design {

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = named<QPushButton>(parent, name);
    b->setText(QLatin1String(caption));
    b->setAutoDefault(false);
    return b;
}

QGridLayout* buttonColumn(const EditButtons& buttons) {
    auto* column = new QGridLayout;
    column->setVerticalSpacing(3);
    column->addWidget(buttons.update, 0, 0);
    column->addWidget(buttons.add, 0, 0);
    column->addWidget(buttons.cancel, 1, 0);
    column->addWidget(buttons.edit, 1, 0);
    column->addWidget(buttons.remove, 2, 0);
    column->addWidget(buttons.close, 3, 0);
    return column;
}

} // namespace records::design
