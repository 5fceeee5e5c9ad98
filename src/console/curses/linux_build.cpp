#include "core/build_constants.h"

namespace refx {

const BuildConstants kLinuxBuild = {
    "refx_lin.in",
    false,
    12,
    false,
    false,
    false,
    "Program will be terminated\n",
    "L to toggle optional low-pass filter for compression/decompression",
};

}  // namespace refx
