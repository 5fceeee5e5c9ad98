// The main menu through the scripted console.
#include <gtest/gtest.h>

#include "shell/fatal.h"
#include "shell/main_menu.h"
#include "support/scripted_console.h"
#include "support/test_program.h"

namespace refx {
namespace {

int run_main_menu(Program& p, ScriptedConsole& con) {
  try {
    main_menu(p, con);
  } catch (const ProgramExit& stop) {
    return stop.status;
  }
}

std::string menu_with(const char* suffix) {
  return std::string("T for time waveforms menu\nF for FFT menu\nB to toggle binary/ascii rw option") +
         suffix + "Q to quit program\n";
}

TEST(MainMenu, BTogglesTheFileFormatAndQEnds) {
  auto p = started_program();
  ScriptedConsole con("bBxq");
  EXPECT_EQ(run_main_menu(*p, con), 0);
  ASSERT_EQ(con.screens().size(), 4u);
  EXPECT_EQ(con.screens()[0], menu_with(" (ascii-magph selected)\n"));
  EXPECT_EQ(con.screens()[1], menu_with(" (binary-ri selected)\n"));
  EXPECT_EQ(con.screens()[2], menu_with(" (ascii-magph selected)\n"));
  EXPECT_EQ(con.screens()[3], menu_with(" (ascii-magph selected)\n"));  // x only redraws
  EXPECT_EQ(p->i_rw_bin_ascii, 2);
}

TEST(MainMenu, AnUnassignedFormatIsShownAsAnError) {
  auto p = started_program();
  p->i_rw_bin_ascii = 7;
  ScriptedConsole con("Q");
  EXPECT_EQ(run_main_menu(*p, con), 0);
  EXPECT_EQ(con.screens()[0], menu_with(" (Error - not properly assigned)\n"));
}

}  // namespace
}  // namespace refx
