#pragma once
// A fresh temporary directory made the current directory for one test.
#include <string>

namespace refx {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  void write(const std::string& name, const std::string& contents) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
  std::string previous_;
};

}  // namespace refx
