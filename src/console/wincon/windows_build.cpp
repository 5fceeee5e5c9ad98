#include "core/build_constants.h"

namespace refx {

const BuildConstants kWindowsBuild = {
    "refx_win.in",
    true,
    10,
    true,
    true,
    true,
    "Program will be terminated.\n",
    "L to toggle optional low-pass filter",
};

}  // namespace refx
