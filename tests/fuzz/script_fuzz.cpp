// Scripts of script mode: every answer of the input, read as the script console reads them,
// until the script ends or is refused.
#include <cstdio>
#include <string>

#include "console/script/script_reader.h"
#include "core/fatal.h"
#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* in = fmemopen(bytes.empty() ? nullptr : &bytes[0], bytes.size(), "r");
  if (!in) return 0;
  refx::ScriptReader reader(in, "fuzz input");
  std::size_t answers = 0;
  try {
    for (;;) {
      const std::string answer = reader.next_answer();
      // Each answer takes a line of its own: no more answers than lines.
      if (++answers > size + 1) refx::fuzz_finding("more answers than lines");
      if (answer.size() > refx::ScriptReader::kMaxLineChars)
        refx::fuzz_finding("answer longer than a script line may be");
      for (const char c : answer)
        if (c == '\n' || c == '\r' || c == '\0')
          refx::fuzz_finding("control character in an answer");
    }
  } catch (const refx::ProgramExit& e) {
    if (e.status != refx::ScriptReader::kScriptFailed) refx::fuzz_finding("unexpected status");
  }
  std::fclose(in);
  return 0;
}
