#pragma once
// The bytes of one fuzz input as a regular file the readers open by name, in a private
// temporary directory made once per process and removed at its end.
#include <cstddef>
#include <cstdint>
#include <string>

namespace refx {

// Replaces the file's contents with data and returns its path.
const std::string& write_fuzz_input(const std::uint8_t* data, std::size_t size);

}  // namespace refx
