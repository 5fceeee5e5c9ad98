#include "console/file_save.h"

#include "console/console_io.h"
#include "core/file_system.h"

namespace refx {

namespace {

// A device or FIFO cannot be replaced: it is written where it is.
bool write_in_place(const std::string& name, const char* mode, const FileWriter& write) {
  std::FILE* file = open_in_place(name, mode);
  if (!file) return false;
  const bool written = write(file);
  return flush_sync_close(file) && written;
}

bool write_and_replace(const std::string& name, const char* mode, const FileWriter& write) {
  const std::string target = save_target(name);
  std::string temp;
  std::FILE* file = create_file_beside(target, mode, temp);
  if (!file) return false;
  const bool written = write(file);
  const bool closed = flush_sync_close(file);
  if (written && closed && copy_permissions(target, temp) && replace_file(temp, target))
    return true;
  remove_file(temp);
  return false;
}

}  // namespace

bool choose_save_target(Console& con, std::string& name) {
  while (!can_save_to(name)) {
    con.print("Error opening file, enter another name or Q to quit:\n");
    con.refresh();
    read_name_word(con, name);
    if (is_quit_answer(name)) {
      con.print("File save aborted\n");
      con.refresh();
      return false;
    }
  }
  return true;
}

bool save_file(Console& con, const std::string& name, const char* mode, const FileWriter& write) {
  const PathKind kind = path_kind(name);
  if (kind == PathKind::other) {
    if (write_in_place(name, mode, write)) return true;
    con_printf(con, "%s%s%s", "Error - file ", name.c_str(), " could not be written\n");
  } else {
    if (write_and_replace(name, mode, write)) return true;
    con_printf(con, "%s%s%s", "Error - file ", name.c_str(),
               kind == PathKind::regular
                   ? " could not be written; the old file was left as it was\n"
                   : " could not be written\n");
  }
  con.refresh();
  return false;
}

}  // namespace refx
