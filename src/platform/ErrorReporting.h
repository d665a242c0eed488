#pragma once

#include <functional>
#include <utility>

namespace platform {

// Runs one event handler that has no error trap of its own. A run-time error is
// shown in a message box with its text and the program goes on; no exception ever
// reaches Qt's event loop.
void runReported(const std::function<void()>& handler);

// Wraps a handler for connecting to a Qt signal: connect(b, &QPushButton::clicked,
// this, reported([this] { cmdAdd_Click(); })).
template <class Handler> auto reported(Handler handler) {
    return [handler = std::move(handler)](auto&&...) { runReported(handler); };
}

} // namespace platform
