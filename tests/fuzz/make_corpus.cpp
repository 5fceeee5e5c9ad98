// Writes the seed corpus of every fuzz target into DIR/<target>/: files saved by the
// program's own writers (both builds, so both binary record widths) and edge files made
// byte by byte. Usage: fuzz_make_corpus DIR
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "console/script/script_reader.h"
#include "core/build_constants.h"
#include "core/float80.h"
#include "fuzz_console.h"
#include "fuzz_program.h"
#include "reflection/filter_files.h"
#include "spectral/fft_files.h"
#include "waveforms/waveform_files.h"

namespace refx {
namespace {

std::string g_root;

std::string dir_for(const std::string& target) {
  const std::string dir = g_root + "/" + target;
  mkdir(dir.c_str(), 0755);
  return dir + "/";
}

void put(const std::string& target, const std::string& name, const std::string& bytes) {
  std::ofstream(dir_for(target) + name, std::ios::binary) << bytes;
}

std::string value_bytes(long double v, int width) {
  unsigned char b[kFloat80Bytes];
  encode_float80(v, b);
  std::string s(reinterpret_cast<const char*>(b), kFloat80Bytes);
  return s + std::string(static_cast<std::size_t>(width - kFloat80Bytes), '\0');
}

// 80-bit patterns no writer makes: NaN, infinities, pseudo-NaN, unnormal, pseudo-denormal.
std::string odd_values(int width) {
  const unsigned char patterns[][kFloat80Bytes] = {
      {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F},  // quiet NaN
      {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF},  // -infinity
      {1, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F},  // pseudo-NaN (integer bit clear)
      {0, 0, 0, 0, 0, 0, 0, 0x40, 0x00, 0x40},  // unnormal
      {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00},  // pseudo-denormal
      {1, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00},  // smallest subnormal
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F},  // largest finite
  };
  std::string s;
  for (const auto& pattern : patterns) {
    s.append(reinterpret_cast<const char*>(pattern), kFloat80Bytes);
    s.append(static_cast<std::size_t>(width - kFloat80Bytes), '\0');
  }
  return s;
}

const char* width_name(const BuildConstants& b) {
  return b.windows ? "10" : "12";
}

void fill(Program& p) {
  for (long k = 0; k < kFuzzPoints; ++k) {
    const long double x = static_cast<long double>(k);
    p.wf.y1a[k] = std::sin(0.3L * x) * std::exp(-x / 20.0L);
    p.fft.fftr1[k] = std::cos(0.1L * x), p.fft.ffti1[k] = -std::sin(0.2L * x);
    p.fft.fft1mag[k] = -3.0L * x, p.fft.fft1ph[k] = 170.0L - 5.0L * x;
    p.rrc.Re_rrc_filt[k] = 1.0L / (1.0L + x), p.rrc.Im_rrc_filt[k] = x / 1e3L;
  }
  p.wf.y1a[3] = 1e-4000L, p.wf.y1a[4] = -1e3000L;
  p.wf.num_ptst1 = kFuzzPoints;
}

// Every writer, in each build and format: full files, and a short waveform.
void written_files() {
  const std::string tmp = g_root + "/written";
  for (const BuildConstants* b : {&kLinuxBuild, &kWindowsBuild}) {
    for (const bool binary : {false, true}) {
      Program& p = fuzz_program(*b, binary);
      fill(p);
      const std::string kind = binary ? "binary" : "text";
      // Text files are the same in both builds: those of refx_lin are enough.
      if (!binary && b->windows) continue;
      const std::string suffix = binary ? std::string("_") + width_name(*b) : "_" + kind;
      const auto saved = [&](const std::string& target, const std::string& name) {
        std::ifstream in(tmp, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        put(target, name + suffix + (b->windows ? "_win" : "_lin"), bytes);
      };
      FuzzConsole c1(tmp, {"saved by refx"});
      save_time_waveform(p, c1, p.wf.slot(1));
      saved("waveform_" + kind, "full");
      p.wf.num_ptst1 = 5;
      FuzzConsole c2(tmp, {"short"});
      save_time_waveform(p, c2, p.wf.slot(1));
      saved("waveform_" + kind, "short");
      FuzzConsole c3(tmp, {"fft"});
      long num = kFuzzPoints;
      save_fft(p, c3, 1, p.fft.fftr1.data(), p.fft.ffti1.data(), p.fft.fft1mag.data(),
               p.fft.fft1ph.data(), &p.fft.deltaf, &num);
      saved("fft_" + kind, "full");
      FuzzConsole c4(tmp, {"filter"});
      save_rrc_filter(p, c4, p.rrc.rrc_filt_save_filename, p.rrc.Re_rrc_filt, p.rrc.Im_rrc_filt,
                      p.fft.deltaf, kFuzzPoints);
      saved("filter_" + kind, "full");
    }
  }
  std::remove(tmp.c_str());
}

void edge_files() {
  const std::string header(256, 'c');
  for (const std::string family : {"waveform", "fft", "filter"}) {
    const std::string bin = family + "_binary", text = family + "_text";
    put(bin, "empty", "");
    put(bin, "header_only", header);
    put(text, "empty", "");
    put(text, "header_only", "comment\nx\n");
    for (const int width : {12, 10}) {
      const std::string w = std::to_string(width);
      put(bin, "odd_values_" + w, header + odd_values(width) + odd_values(width));
      put(bin, "cut_in_value_" + w,
          header + value_bytes(0, width) + value_bytes(1, width).substr(0, 4));
      put(bin, "huge_and_tiny_" + w,
          header + value_bytes(0, width) + value_bytes(1e4000L, width) + value_bytes(1, width) +
              value_bytes(-1e-4940L, width) + value_bytes(2, width) + value_bytes(1e-3000L, width));
    }
    put(text, "odd_numbers",
        "c\nx\n0 nan 1\n1e-6 inf -inf\n2e-6 1e5000 -1e-5000\n3e-6 0x1p-16445 0x1.8p16383\n"
        "4e-6 -nan(123) 1e4932\n5e-6 1e2500 1e-2500\n");
    put(text, "no_header_no_newline", "0 1 2 3");
    put(text, "long_line", "c\n" + std::string(600, '9') + "\n0 1 1\n1e-6 2 2\n");
    put(text, "odd_times", "c\nx\n1e4000 1 1\n-1e4000 2 2\nnan 3 3\n");
    put(text, "one_pair", "c\nx\n0 1\n");
  }
}

void config_files() {
  const std::string lin_tail = "1000\n800\n";
  const std::string win_tail = "0 0 0\n255 255 255\n8 1\n8 7\n8 7\n8 1\n";
  put("config", "lin", "# c\n1048576\n4096\n" + lin_tail);
  put("config", "win", "# c\n1048576\n4096\n" + win_tail);
  put("config", "rate_zero", "0\n64\n" + lin_tail);
  put("config", "rate_nan", "nan\n64\n" + win_tail);
  put("config", "rate_huge", "1e4000\n2\n" + lin_tail);
  put("config", "rate_tiny", "1e-4000\n65536\n" + win_tail);
  put("config", "points_too_many", "1000\n131072\n" + lin_tail);
  put("config", "points_huge", "1000\n4611686018427387904\n" + lin_tail);
  put("config", "points_negative", "1000\n-4\n" + lin_tail);
  put("config", "size_odd", "1000\n64\n-5\n0x7fffffff\n");
  put("config", "comments_only", "#\n#\n#");
}

void value_entries() {
  put("value_entry", "integers",
      "12\n-2147483648\n2147483648\n9223372036854775807\n9223372036854775808\n  7xyz\n+0\n");
  put("value_entry", "reals",
      "1e4000\n-1e4000\nnan\ninf\n-infinity\n0x1p-16446\n1e-5000\n3.4e38\n3.5e38\n1e18\n");
  put("value_entry", "blanks", "\n \t\n\r\n1\r\n");
}

// Scripts: beside examples/reflection_run.script and tests/e2e/script/short.script.
void scripts() {
  put("script", "bom_crlf_escape", "\xEF\xBB\xBFT\r\n\\#\n# c\n\tx\r\n");
  put("script", "control", "1\n\x01\n");
  put("script", "long_line", "1\n" + std::string(ScriptReader::kMaxLineChars + 1, 'a') + "\n");
}

}  // namespace
}  // namespace refx

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  refx::g_root = argv[1];
  mkdir(argv[1], 0755);
  refx::written_files();
  refx::edge_files();
  refx::config_files();
  refx::value_entries();
  refx::scripts();
  return 0;
}
