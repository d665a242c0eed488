#include "ProgramEnd.h"

#include <cstdlib>

namespace records {

namespace {
void exitNow() {
    std::exit(EXIT_FAILURE);
}
} // namespace

ProgramEndHandler EndProgram = exitNow;

} // namespace records
