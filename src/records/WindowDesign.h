#pragma once

#include <QLatin1String>
#include <QWidget>

class QGridLayout;
class QPushButton;

namespace records::design {

// A new control of the given kind inside parent, carrying its design name.
template <class Widget> Widget* named(QWidget* parent, const char* name) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A command button with its caption; focus does not make it the default button.
QPushButton* button(QWidget* parent, const char* name, const char* caption);

// The editing buttons of a record window; Update and Cancel are shown in place of Add
// and Edit while a record is edited.
struct EditButtons {
    QPushButton* add;
    QPushButton* update;
    QPushButton* edit;
    QPushButton* cancel;
    QPushButton* remove;
    QPushButton* close;
};

// One column of the buttons: Update shares Add's cell, Cancel Edit's, then Delete and
// Close.
QGridLayout* buttonColumn(const EditButtons& buttons);

} // namespace records::design
