#pragma once
// Reads one fuzz input as a compression filter file, in text or binary, for both builds.
#include <cstddef>
#include <cstdint>

namespace refx {

void fuzz_filter_file(const std::uint8_t* data, std::size_t size, bool binary);

}  // namespace refx
