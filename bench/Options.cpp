#include "Options.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace bench {

Options parseOptions(int argc, char** argv, const ExtraOption& extra) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const std::function<std::string()> value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::runtime_error(name + " needs a value");
            return argv[++i];
        };
        if (name == "--json")
            options.json = value();
        else if (name == "--dir")
            options.folder = value();
        else if (name == "--rounds")
            options.rounds = std::max(3, std::atoi(value().c_str()));
        else if (!extra || !extra(name, value))
            throw std::runtime_error("unknown option " + name);
    }
    return options;
}

} // namespace bench
