#include "numerology/ReduceChain.h"

namespace quillon {

std::string ReduceChain(std::uint64_t n) {
    std::string chain = std::to_string(n);
    while (n >= 10) {
        n = n / 10 + n % 10;
        chain += " / ";
        chain += std::to_string(n);
    }
    return chain;
}

}  // namespace quillon
