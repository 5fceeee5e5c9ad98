#include "support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace refx {

namespace fs = std::filesystem;

TempDir::TempDir() : previous_(fs::current_path().string()) {
  std::string pattern = (fs::temp_directory_path() / "refx_test_XXXXXX").string();
  path_ = mkdtemp(&pattern[0]) ? pattern : throw std::runtime_error("mkdtemp");
  fs::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

void TempDir::write(const std::string& name, const std::string& contents) const {
  std::ofstream(path_ + "/" + name, std::ios::binary) << contents;
}

std::string TempDir::read(const std::string& name) const {
  std::ostringstream all;
  all << std::ifstream(path_ + "/" + name, std::ios::binary).rdbuf();
  return all.str();
}

bool TempDir::exists(const std::string& name) const {
  return fs::exists(path_ + "/" + name);
}

}  // namespace refx
