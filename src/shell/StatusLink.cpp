#include "StatusLink.h"

#include "platform/ErrorReporting.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace shell {

StatusLink::StatusLink(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Link));
    setPalette(colours);
    // A long list of reminders must not widen the main window: the text is cut at the
    // status bar's end, and the tip shows all of it.
    setMinimumWidth(1);
}

void StatusLink::setFullText(const QString& text) {
    m_fullText = text;
    setAccessibleDescription(text);
    updateGeometry();
    elide();
}

void StatusLink::elide() {
    setText(
        fontMetrics().elidedText(m_fullText, Qt::ElideRight, std::max(contentsRect().width(), 1)));
}

void StatusLink::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

QSize StatusLink::sizeHint() const {
    // As wide as the whole text wants, cut down by the status bar when need be.
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(m_fullText) + margins.left() + margins.right() + 2,
                 QLabel::sizeHint().height());
}

void StatusLink::activate() {
    if (m_action)
        platform::runReported(m_action);
}

void StatusLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        activate();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void StatusLink::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        activate();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

} // namespace shell
