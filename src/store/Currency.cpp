// Minimal form so the engine builds on its own; the full value layer replaces it.
#include "Currency.h"

namespace store {

QString Currency::toString() const {
    return QString::number(toDouble(), 'f', 4);
}

} // namespace store
