#pragma once

#include <functional>
#include <string>

namespace bench {

// The command-line options every benchmark takes:
//   --json PATH   also write the figures as JSON to PATH
//   --dir FOLDER  where the benchmark file goes (default: the current folder)
//   --rounds N    samples per figure (at least 3; default 15)
struct Options {
    std::string json;
    std::string folder = ".";
    int rounds = 15;
};

// Reads an option of one benchmark's own. Called with the option's name for every
// argument the shared ones do not cover; value() takes the argument after it (and
// throws when there is none). Returns false for an option it does not know.
using ExtraOption =
    std::function<bool(const std::string& name, const std::function<std::string()>& value)>;

// Parses argv; throws std::runtime_error naming an unknown option or one that lacks
// its value.
Options parseOptions(int argc, char** argv, const ExtraOption& extra = {});

} // namespace bench
