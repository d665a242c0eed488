#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// The program's one run-time error: a number and a text, as every handler shows them.
class AppError : public std::runtime_error {
public:
    AppError(int number, const QString& text)
        : std::runtime_error(text.toStdString()), m_number(number), m_text(text) {}

    int number() const noexcept { return m_number; }
    const QString& text() const noexcept { return m_text; }

private:
    int m_number;
    QString m_text;
};

} // namespace platform
