#pragma once
// The fixed-capacity sample array every waveform, spectrum and filter lives in.
#include <array>
#include <cstddef>

namespace refx {

constexpr std::size_t kCapacity = 75000;
// num_meas_points is a power of two no larger than this (the arrays hold 75000).
constexpr long kMaxPoints = 65536;

using Samples = std::array<long double, kCapacity>;

}  // namespace refx
