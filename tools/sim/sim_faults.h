#pragma once
// Reply faults drawn from one seeded generator, so a seed repeats a run.
#include <cstdint>
#include <random>
#include <string>

namespace quorvane::sim {

class FaultInjector {
  public:
    FaultInjector(std::uint32_t seed, double drop, double duplicate, double corrupt)
        : rng_(seed), drop_(drop), duplicate_(duplicate), corrupt_(corrupt) {}

    // How many copies of a reply to send (0 dropped, 1, or 2 duplicated); a corrupted reply
    // has its checksum byte changed.
    int copies();
    void maybeCorrupt(std::string& frame);

  private:
    bool draw(double rate);
    std::mt19937 rng_;
    double drop_, duplicate_, corrupt_;
};

} // namespace quorvane::sim
