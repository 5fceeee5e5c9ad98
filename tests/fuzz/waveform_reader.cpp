#include "waveform_reader.h"

#include <algorithm>
#include <vector>

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
      // Marks that only a completed read resets, and the slot as it was before.
      p.wf.i_truncatet1 = -1;
      p.wf.i_shift_wf1 = 3;
      const long old_count = p.wf.num_ptst1;
      const std::vector<long double> old_values(p.wf.y1a.begin(), p.wf.y1a.begin() + kFuzzPoints);
      FuzzConsole con(path, {fill});
      read_time_waveform(p, con, p.wf.slot(1), kFuzzPoints, p.wf.file_name);
      const long n = p.wf.num_ptst1;
      if (p.wf.i_truncatet1 == -1) {
        // A refused file leaves the slot as it was.
        if (n != old_count || !std::equal(old_values.begin(), old_values.end(), p.wf.y1a.begin()))
          fuzz_finding("a refused waveform file changed the slot");
        continue;
      }
      if (n < 0 || n > kFuzzPoints) fuzz_finding("point count outside the slot");
      if (fill[0] == '1' && n != kFuzzPoints) fuzz_finding("filled slot is not full");
      if (p.wf.i_truncatet1 != p.wf.nptst || p.wf.i_shift_wf1 != 0)
        fuzz_finding("truncation or shift not reset by a completed read");
    }
  }
}

}  // namespace refx
