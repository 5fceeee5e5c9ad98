#include "waveform_reader.h"

#include "core/build_constants.h"
#include "fuzz_console.h"
#include "fuzz_input.h"
#include "fuzz_program.h"
#include "waveforms/waveform_files.h"

namespace refx {

void fuzz_waveform_file(const std::uint8_t* data, std::size_t size, bool binary) {
  const std::string& path = write_fuzz_input(data, size);
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    for (const char* fill : {"0", "1"}) {
      Program& p = fuzz_program(*build, binary);
      FuzzConsole con(path, {fill});
      read_time_waveform(p, con, p.wf.slot(1), kFuzzPoints, p.wf.file_name);
      const long n = p.wf.num_ptst1;
      if (n < 0 || n > kFuzzPoints) fuzz_finding("point count outside the slot");
      if (fill[0] == '1' && n != kFuzzPoints) fuzz_finding("filled slot is not full");
      if (p.wf.i_truncatet1 != p.wf.nptst || p.wf.i_shift_wf1 != 0)
        fuzz_finding("truncation or shift not reset by a completed read");
    }
  }
}

}  // namespace refx
