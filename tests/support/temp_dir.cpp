#include "support/temp_dir.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace refx {

TempDir::TempDir() {
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) throw std::runtime_error("getcwd");
  previous_ = cwd;
  std::string pattern = (std::filesystem::temp_directory_path() / "refx_test_XXXXXX").string();
  if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp");
  path_ = pattern;
  if (chdir(path_.c_str()) != 0) throw std::runtime_error("chdir");
}

TempDir::~TempDir() {
  if (chdir(previous_.c_str()) != 0) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::write(const std::string& name, const std::string& contents) const {
  std::ofstream out(path_ + "/" + name, std::ios::binary);
  out << contents;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool TempDir::exists(const std::string& name) const {
  return std::filesystem::exists(path_ + "/" + name);
}

}  // namespace refx
