#include "filter_reader.h"

#include "core/build_constants.h"
#include "fuzz_console.h"
#include "fuzz_input.h"
#include "fuzz_program.h"
#include "reflection/filter_file_actions.h"

namespace refx {

void fuzz_filter_file(const std::uint8_t* data, std::size_t size, bool binary) {
  const std::string& path = write_fuzz_input(data, size);
  for (const BuildConstants* build : {&kLinuxBuild, &kWindowsBuild}) {
    Program& p = fuzz_program(*build, binary);
    // A read that fails keeps the filter in use: mark it to see that it stayed.
    p.rrc.Re_rrc_filt[0] = 12345.0L;
    p.rrc.rrc_filt = 1;
    FuzzConsole con(path, {});
    read_filter_action(p, con);
    const bool replaced = p.rrc.rrc_filt == 3 && p.rrc.rrc_error == 0;
    if (!replaced && p.rrc.Re_rrc_filt[0] != 12345.0L)
      fuzz_finding("a refused filter file changed the filter");
    if (p.rrc.rrc_filt != 1 && !replaced) fuzz_finding("filter state changed by a refused read");
  }
}

}  // namespace refx
