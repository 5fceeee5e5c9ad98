#pragma once
// The file operations whose calls differ between the platforms: opening only regular files
// for reading, and the steps of a save that replaces its target only once it is complete.
// One implementation per platform (posix/, win32/).
#include <cstdio>
#include <string>

namespace refx {

enum class PathKind { missing, regular, other };

// What path names now: nothing, a regular file, or anything else (folder, device, FIFO).
PathKind path_kind(const std::string& path);

// Opens path for reading when it is a regular file; null for anything else, without ever
// blocking on a FIFO or a device.
std::FILE* open_regular_file(const std::string& path, const char* mode);

// True when a save to path can be tried: an existing target opens for writing (it is not
// changed), and a regular or new target's folder takes new files.
bool can_save_to(const std::string& path);

// The file a save to path replaces: path itself, or for a symbolic link the file it names,
// so that the link stays a link.
std::string save_target(const std::string& path);

// A new, empty file in path's folder, open for writing with mode; its name in temp_name.
std::FILE* create_file_beside(const std::string& path, const char* mode, std::string& temp_name);

// Opens an existing target that is not a regular file (a device, a FIFO with a reader) for
// writing in place; null when it cannot be opened without waiting.
std::FILE* open_in_place(const std::string& path, const char* mode);

// Flushes the stream, forces its data to the device and closes it; false if any step failed.
// The stream is closed in every case.
bool flush_sync_close(std::FILE* file);

// Gives file the permission bits (and, where allowed, the owner) of target, or those of a
// newly created file when there is no target yet.
bool copy_permissions(const std::string& target, const std::string& file);

// Puts file in the place of target in one step, replacing what was there.
bool replace_file(const std::string& file, const std::string& target);

void remove_file(const std::string& path);

}  // namespace refx
