#include "core/file_system.h"

#include <io.h>
#include <windows.h>

#include <string>

namespace refx {

namespace {

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\:");
  if (slash == std::string::npos) return ".";
  if (path[slash] == ':') return path.substr(0, slash + 1) + ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

// A handle's kind: a disk file that is not a folder counts as regular.
bool is_regular_handle(HANDLE handle) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(handle, &info) != 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

PathKind path_kind(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Device names such as NUL have no attributes on every version; ask a handle.
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return PathKind::missing;
    const bool regular = is_regular_handle(h);
    CloseHandle(h);
    return regular ? PathKind::regular : PathKind::other;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::other;
  HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return PathKind::regular;
  const bool regular = is_regular_handle(h);
  CloseHandle(h);
  return regular ? PathKind::regular : PathKind::other;
}

std::FILE* open_regular_file(const std::string& path, const char* mode) {
  if (path_kind(path) != PathKind::regular) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) return nullptr;
  if (!is_regular_handle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

bool can_save_to(const std::string& path) {
  const PathKind kind = path_kind(path);
  if (kind != PathKind::missing) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    if (kind == PathKind::other) return true;
  }
  const DWORD folder = GetFileAttributesA(folder_of(path).c_str());
  return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string save_target(const std::string& path) {
  return path;
}

std::FILE* create_file_beside(const std::string& path, const char* mode, std::string& temp_name) {
  char name[MAX_PATH + 1] = {};
  if (GetTempFileNameA(folder_of(path).c_str(), "rfx", 0, name) == 0) return nullptr;
  temp_name = name;
  std::FILE* file = std::fopen(name, mode);
  if (!file) DeleteFileA(name);
  return file;
}

std::FILE* open_in_place(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

bool flush_sync_close(std::FILE* file) {
  bool ok = std::fflush(file) == 0 && std::ferror(file) == 0;
  if (ok) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (GetFileType(h) == FILE_TYPE_DISK) ok = FlushFileBuffers(h) != 0;
  }
  return std::fclose(file) == 0 && ok;
}

bool copy_permissions(const std::string& target, const std::string& file) {
  // Windows keeps no permission bits; the read-only and hidden marks go along.
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  return SetFileAttributesA(file.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool replace_file(const std::string& file, const std::string& target) {
  return MoveFileExA(file.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void remove_file(const std::string& path) {
  DeleteFileA(path.c_str());
}

}  // namespace refx
