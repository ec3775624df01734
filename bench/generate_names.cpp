// Writes COUNT generated names, one a line, to standard output: the input of the batch benchmark.
//   generate_names COUNT [SEED]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/NameGenerator.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: generate_names COUNT [SEED]\n", stderr);
        return 2;
    }
    const unsigned long long count = std::strtoull(argv[1], nullptr, 10);
    const unsigned long long seed = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 1;
    quillon::NameGenerator generator(seed);
    std::string block;
    for (unsigned long long i = 0; i < count; ++i) {
        block += generator.Next();
        block += '\n';
        if (block.size() > (1 << 20)) {
            std::fwrite(block.data(), 1, block.size(), stdout);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
