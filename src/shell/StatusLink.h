#pragma once

#include <QLabel>
#include <functional>

namespace shell {

// A text of the status bar that acts when clicked, or on Enter or Space when it has
// the focus (it takes the focus by Tab): drawn as a link, with the pointing hand.
class StatusLink : public QLabel {
public:
    explicit StatusLink(QWidget* parent = nullptr);

    void setAction(std::function<void()> action) { m_action = std::move(action); }
    // The whole text; what is shown ends in "..." where the status bar is too narrow
    // for it (the tip and a screen reader's description give all of it).
    void setFullText(const QString& text);
    QString fullText() const { return m_fullText; }
    // Runs the action, as a click does.
    void activate();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QSize sizeHint() const override;

private:
    void elide();

    std::function<void()> m_action;
    QString m_fullText;
};

} // namespace shell
