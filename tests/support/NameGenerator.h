#pragma once
// Seeded names for the batch benchmark and tests: mostly ordinary names of one to four words, with
// the awkward cases mixed in at fixed rates (Ys, accented letters and other scripts, characters
// outside the BMP, digits, blanks and tabs at the ends, lowercase, control characters, names far
// over 40 characters). The same seed gives the same names on every machine.

#include <cstdint>
#include <string>

namespace quillon {

class NameGenerator {
public:
    explicit NameGenerator(std::uint64_t seed) : state_(seed) {}

    // The next name, UTF-8, without a line end.
    std::string Next();

private:
    std::uint64_t Random();
    // True once in `in` draws.
    bool OneIn(std::uint64_t in) { return Random() % in == 0; }
    std::string Word();

    std::uint64_t state_;
};

}  // namespace quillon
