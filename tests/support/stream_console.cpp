#include "support/stream_console.h"

#include <stdexcept>

namespace refx {

namespace {

std::FILE* stream_of(const std::string& text) {
  std::FILE* f = std::tmpfile();
  if (!f) throw std::runtime_error("no temporary file");
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

}  // namespace

StreamConsole::StreamConsole(const std::string& keys, const std::string& typed_lines)
    : ScriptedConsole(keys), in_(stream_of(typed_lines)), entry_(in_, stdout) {}

StreamConsole::~StreamConsole() {
  std::fclose(in_);
}

std::string StreamConsole::unread() {
  std::string rest;
  for (int c; (c = std::fgetc(in_)) != EOF;) rest.push_back(static_cast<char>(c));
  return rest;
}

}  // namespace refx
