// FFT files, text.
#include "fft_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  refx::fuzz_fft_file(data, size, false);
  return 0;
}
