// Saves replace their target only with a complete file; reads open only regular files.
#include "console/file_save.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_io.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace refx {
namespace {

constexpr auto npos = std::string::npos;

std::vector<std::string> names_in(const char* folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder);
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

mode_t mode_of(const char* name) {
  struct stat st {};
  stat(name, &st);
  return st.st_mode & 07777;
}

// Writes lines until the writer gives up after `good` lines (never, when good < 0).
FileWriter lines(int count, int good = -1) {
  return [=](std::FILE* f) {
    for (int i = 0; i < count; ++i) {
      if (i == good) return false;
      if (std::fprintf(f, "line %d\n", i) < 0) return false;
    }
    return true;
  };
}

TEST(FileSave, ReplacesTheTargetKeepingItsModeAndLeavesNoTemporaryFile) {
  TempDir dir;
  dir.write("old.txt", "old contents\n");
  ASSERT_EQ(chmod("old.txt", 0640), 0);
  ScriptedConsole con;
  EXPECT_TRUE(save_file(con, "old.txt", "w", lines(2)));
  EXPECT_EQ(dir.read("old.txt"), "line 0\nline 1\n");
  EXPECT_EQ(mode_of("old.txt"), 0640u);
  // A new file gets the mode an ordinary create gives it, not the temporary file's 0600.
  const mode_t mask = umask(022);
  EXPECT_TRUE(save_file(con, "new.txt", "w", lines(1)));
  umask(mask);
  EXPECT_EQ(mode_of("new.txt"), 0644u);
  EXPECT_EQ(names_in("."), (std::vector<std::string>{"new.txt", "old.txt"}));
  EXPECT_EQ(con.transcript(), "");
}

TEST(FileSave, ASymbolicLinkStaysALinkToTheNewContents) {
  TempDir dir;
  ASSERT_EQ(mkdir("real", 0755), 0);
  dir.write("real/data.txt", "old\n");
  ASSERT_EQ(symlink("real/data.txt", "link.txt"), 0);
  ScriptedConsole con;
  EXPECT_TRUE(save_file(con, "link.txt", "w", lines(1)));
  struct stat st {};
  ASSERT_EQ(lstat("link.txt", &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.read("real/data.txt"), "line 0\n");
  EXPECT_EQ(names_in("real"), std::vector<std::string>{"data.txt"});
}

TEST(FileSave, AFailedWriteLeavesTheOldFileAndRemovesTheTemporaryFile) {
  TempDir dir;
  dir.write("keep.bin", std::string("\x01\x02\x00\x03", 4));
  ScriptedConsole con;
  EXPECT_FALSE(save_file(con, "keep.bin", "wb", lines(100, 50)));
  EXPECT_EQ(dir.read("keep.bin"), std::string("\x01\x02\x00\x03", 4));
  EXPECT_EQ(names_in("."), std::vector<std::string>{"keep.bin"});
  EXPECT_EQ(con.transcript(),
            "Error - file keep.bin could not be written; the old file was left as it was\n");
  // Without an old file, nothing is left at all.
  EXPECT_FALSE(save_file(con, "fresh.txt", "w", lines(3, 0)));
  EXPECT_FALSE(dir.exists("fresh.txt"));
  EXPECT_EQ(names_in(".").size(), 1u);
}

TEST(FileSave, ADeviceIsWrittenInPlaceAndAFullOneReported) {
  ScriptedConsole con;
  EXPECT_TRUE(save_file(con, "/dev/null", "w", lines(3)));
  EXPECT_FALSE(save_file(con, "/dev/full", "w", lines(3)));
  EXPECT_EQ(con.transcript(), "Error - file /dev/full could not be written\n");
  struct stat st {};
  ASSERT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(FileSave, TheTargetCheckCreatesNothingAndRefusesWhatCannotBeWritten) {
  TempDir dir;
  ASSERT_EQ(mkdir("sub", 0755), 0);
  // A folder cannot be written, even by root; nor can a name in a folder that does not exist.
  ScriptedConsole con("nodir/x\nfine.txt\n");
  std::string name = "sub";
  EXPECT_TRUE(choose_save_target(con, name));
  EXPECT_EQ(name, "fine.txt");
  const std::string retry = "Error opening file, enter another name or Q to quit:\n";
  EXPECT_EQ(con.transcript(), retry + retry);
  EXPECT_EQ(names_in("."), std::vector<std::string>{"sub"});
  EXPECT_EQ(names_in("sub").size(), 0u);
}

TEST(FileRead, OnlyRegularFilesOpenAndNothingElseBlocks) {
  TempDir dir;
  dir.write("data.txt", "1 2\n");
  ASSERT_EQ(mkdir("folder", 0755), 0);
  ASSERT_EQ(mkfifo("pipe", 0644), 0);
  // A FIFO without a writer, a device that never ends and a folder are all refused.
  ScriptedConsole con("folder\npipe\n/dev/zero\ndata.txt\n");
  std::string name;
  std::FILE* file = open_for_read(con, "Name:\n", false, name, "r");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(name, "data.txt");
  EXPECT_EQ(con.transcript(),
            "Name:\nError opening file folder;\nName:\nError opening file pipe;\n"
            "Name:\nError opening file /dev/zero;\nName:\n");
}

}  // namespace
}  // namespace refx
