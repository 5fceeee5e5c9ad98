#pragma once
// Every save goes through here: the target is only ever replaced by a complete file.
#include <cstdio>
#include <functional>
#include <string>

#include "console/console.h"

namespace refx {

// Writes a whole file through the stream; false as soon as a write fails.
using FileWriter = std::function<bool(std::FILE*)>;

// Asks for another name while the target cannot be written ("Error opening file, enter
// another name or Q to quit:"); nothing is created or changed. Q or q there gives up:
// "File save aborted" is printed and false returned.
bool choose_save_target(Console& con, std::string& name);

// Writes the file to a temporary file in the target's folder and renames it over the target
// once every write, the flush and the close succeeded; a device or FIFO is written in place.
// On failure the temporary file is removed, the old file stays as it was, an error naming
// the file is printed (the caller pauses) and false returned.
bool save_file(Console& con, const std::string& name, const char* mode, const FileWriter& write);

}  // namespace refx
