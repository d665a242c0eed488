#include "WindowDesign.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeySequence>
#include <QPushButton>

namespace records::design {

namespace {

// A button lying beneath another keeps its Alt+letter key only while the one on top
// is hidden. Two shown buttons with one key ("&New Order" over "Ca&ncel") would make
// the key only move the focus between them instead of pressing the one in sight.
class CoveredButtonKeys : public QObject {
public:
    CoveredButtonKeys(QPushButton* onTop, QPushButton* beneath)
        : QObject(onTop), m_onTop(onTop), m_beneath(beneath) {
        onTop->installEventFilter(this);
        update();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            update();
        return false;
    }

private:
    void update() {
        m_beneath->setShortcut(m_onTop->isHidden() ? QKeySequence::mnemonic(m_beneath->text())
                                                   : QKeySequence());
    }
    QPushButton* m_onTop;
    QPushButton* m_beneath;
};

} // namespace

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
    new CoveredButtonKeys(buttons.add, buttons.update);
    new CoveredButtonKeys(buttons.edit, buttons.cancel);
    return column;
}

} // namespace records::design
