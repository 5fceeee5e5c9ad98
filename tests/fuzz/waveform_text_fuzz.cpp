// Time waveform files, text.
#include "waveform_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  refx::fuzz_waveform_file(data, size, false);
  return 0;
}
