#pragma once

namespace records {

// Ends the whole program at once: no further handler runs and nothing pending is
// saved. Used where an error leaves a window unable to show what it must; tests
// put a recorder in its place.
using ProgramEndHandler = void (*)();
extern ProgramEndHandler EndProgram;

} // namespace records
