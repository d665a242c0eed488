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
    // Runs the action, as a click does.
    void activate();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> m_action;
};

} // namespace shell
