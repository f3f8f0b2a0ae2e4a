#include "sim_faults.h"

namespace quorvane::sim {

bool FaultInjector::draw(double rate) {
    if (rate <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < rate;
}

int FaultInjector::copies() {
    if (draw(drop_))
        return 0;
    return draw(duplicate_) ? 2 : 1;
}

void FaultInjector::maybeCorrupt(std::string& frame) {
    if (!frame.empty() && draw(corrupt_))
        frame.back() = static_cast<char>(frame.back() ^ 0x5A);
}

} // namespace quorvane::sim
