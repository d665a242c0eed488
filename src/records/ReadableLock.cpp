#include "ReadableLock.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace records {

namespace {

class ReadableLock : public QObject {
public:
    explicit ReadableLock(QWidget* widget) : QObject(widget), m_widget(widget) {
        widget->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
            apply();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void apply() {
        const QPalette current = m_widget->palette();
        // Only the disabled text colours are the widget's own; every other colour still
        // comes from its parent and the application.
        QPalette own;
        own.setResolveMask(0);
        bool changed = false;
        for (QPalette::ColorRole role :
             {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
            const QColor normal = current.color(QPalette::Active, role);
            own.setColor(QPalette::Disabled, role, normal);
            changed = changed || current.color(QPalette::Disabled, role) != normal;
        }
        // Setting the palette raises another change; by then nothing differs.
        if (changed)
            m_widget->setPalette(own);
    }

    QWidget* m_widget;
};

} // namespace

void keepLockedValuesReadable(QWidget* widget) {
    new ReadableLock(widget);
}

} // namespace records
