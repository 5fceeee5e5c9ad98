// Compression filter files, binary.
#include "filter_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  refx::fuzz_filter_file(data, size, true);
  return 0;
}
