#include "fuzz_input.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace refx {
namespace {

struct InputFile {
  std::string dir;
  std::string path;

  InputFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/refx-fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
      std::perror("mkdtemp");
      std::abort();
    }
    dir = pattern;
    path = dir + "/input";
  }
  ~InputFile() {
    unlink(path.c_str());
    rmdir(dir.c_str());
  }
};

InputFile& input_file() {
  static InputFile file;
  return file;
}

}  // namespace

const std::string& write_fuzz_input(const std::uint8_t* data, std::size_t size) {
  const std::string& path = input_file().path;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

}  // namespace refx
