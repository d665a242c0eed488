#pragma once

#include <QMainWindow>

namespace shell {

// The program's one top-level window: the MDI frame with the menus.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
};

} // namespace shell
