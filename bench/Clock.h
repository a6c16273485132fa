#pragma once
// The clock shared by the launcher and the programs it starts: CLOCK_MONOTONIC
// is one clock for every process of the machine.

#include <cstdint>
#include <ctime>

inline std::int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}
