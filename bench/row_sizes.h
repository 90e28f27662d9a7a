// SPDX-License-Identifier: GPL-3.0-or-later
// The list sizes a scale benchmark runs at: 100,000 and 1,000,000 rows, or the one given as `--rows=N`. The
// option is taken out of the arguments, so the rest go to Google Benchmark unchanged.
#pragma once

#include <string>
#include <vector>

namespace karvo::bench {

struct row_sizes {
    std::vector<long> sizes = {100000, 1000000};
    std::vector<char*> rest; // the other arguments
    int rest_count = 0;

    row_sizes(int argc, char** argv) {
        for (int k = 0; k < argc; ++k) {
            const std::string argument = argv[k];
            if (argument.rfind("--rows=", 0) == 0)
                sizes = {std::stol(argument.substr(7))};
            else
                rest.push_back(argv[k]);
        }
        rest_count = static_cast<int>(rest.size());
    }
};

} // namespace karvo::bench
