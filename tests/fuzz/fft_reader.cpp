#include "fft_reader.h"

#include "core/build_constants.h"
#include "fuzz_console.h"
#include "fuzz_input.h"
#include "fuzz_program.h"
#include "spectral/fft_files.h"

namespace refx {

void fuzz_fft_file(const std::uint8_t* data, std::size_t size, bool binary) {
  const std::string& path = write_fuzz_input(data, size);
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    for (const char* fill : {"0", "1"}) {
      Program& p = fuzz_program(*build, binary);
      FuzzConsole con(path, {fill});
      FftSlotRef slot = p.fft.slot(1);
      long double delf = p.fft.deltaf;
      read_fft(p, con, 1, slot.fftr.data(), slot.ffti.data(), slot.fftmag.data(), slot.fftph.data(),
               &delf, &slot.num_ptsa);
      if (slot.num_ptsa < 0 || slot.num_ptsa > kFuzzPoints)
        fuzz_finding("record count outside the slot");
    }
  }
}

}  // namespace refx
