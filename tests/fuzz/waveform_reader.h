#pragma once
// Reads one fuzz input as a time waveform file into slot 1, in text or binary, for both
// builds and both answers to the fill question.
#include <cstddef>
#include <cstdint>

namespace refx {

void fuzz_waveform_file(const std::uint8_t* data, std::size_t size, bool binary);

}  // namespace refx
