#include "core/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>

namespace refx {

namespace {

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

mode_t new_file_mode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

PathKind path_kind(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return PathKind::missing;
  return S_ISREG(st.st_mode) ? PathKind::regular : PathKind::other;
}

std::FILE* open_regular_file(const std::string& path, const char* mode) {
  // O_NONBLOCK: opening a FIFO without a writer must not wait.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}

std::string save_target(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved = real;
  std::free(real);
  return resolved;
}

bool can_save_to(const std::string& path) {
  const PathKind kind = path_kind(path);
  if (kind != PathKind::missing) {
    // Opened without O_TRUNC and closed at once: the target stays as it is.
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    close(fd);
    if (kind == PathKind::other) return true;
  }
  return access(folder_of(save_target(path)).c_str(), W_OK | X_OK) == 0;
}

std::FILE* create_file_beside(const std::string& path, const char* mode, std::string& temp_name) {
  const std::string folder = folder_of(path);
  std::string pattern = (folder == "/" ? "" : folder) + "/.refx-save-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return nullptr;
  temp_name = name.data();
  std::FILE* file = fdopen(fd, mode);
  if (!file) {
    close(fd);
    unlink(temp_name.c_str());
  }
  return file;
}

std::FILE* open_in_place(const std::string& path, const char* mode) {
  // A FIFO without a reader fails here (ENXIO) rather than waiting for one.
  const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  // A reader that goes away must give a failed write, not end the program.
  std::signal(SIGPIPE, SIG_IGN);
  std::FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}

bool flush_sync_close(std::FILE* file) {
  bool ok = std::fflush(file) == 0 && std::ferror(file) == 0;
  if (ok) {
    struct stat st {};
    const int fd = fileno(file);
    // Devices and FIFOs may refuse fsync (EINVAL); only a regular file must reach the disk.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) ok = fsync(fd) == 0;
  }
  return std::fclose(file) == 0 && ok;
}

bool copy_permissions(const std::string& target, const std::string& file) {
  struct stat st {};
  if (stat(target.c_str(), &st) != 0) return chmod(file.c_str(), new_file_mode()) == 0;
  // Only root may give a file away; for anyone else the new file stays their own.
  const int owner_given = chown(file.c_str(), st.st_uid, st.st_gid);
  static_cast<void>(owner_given);
  return chmod(file.c_str(), st.st_mode & 07777) == 0;
}

bool replace_file(const std::string& file, const std::string& target) {
  return std::rename(file.c_str(), target.c_str()) == 0;
}

void remove_file(const std::string& path) {
  unlink(path.c_str());
}

}  // namespace refx
