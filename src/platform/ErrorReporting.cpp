#include "ErrorReporting.h"

#include "AppError.h"
#include "MsgBox.h"

#include <exception>

namespace platform {

void runReported(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const AppError& error) {
        MsgBox(error.text(), vbOKOnly);
    } catch (const std::exception& error) {
        MsgBox(QString::fromLocal8Bit(error.what()), vbOKOnly);
    } catch (...) {
        MsgBox(QStringLiteral("An unexpected error occurred."), vbOKOnly);
    }
}

} // namespace platform
