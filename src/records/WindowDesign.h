#pragma once

#include <QLatin1String>
#include <QWidget>

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

} // namespace records::design
