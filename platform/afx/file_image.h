// Whole-file saves and loads for documents: the caller builds or takes the file's bytes
// in memory, and these do the careful part. Both throw CFileException* naming the full
// path the caller gave; the catch site reports and deletes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/afx/file.h"

namespace platform {

// Stores image as the file at path, so that a failure never harms what was there:
// - A symbolic link is followed; the file it leads to is updated and the link stays.
// - A folder, a FIFO or a device is refused, and so is a read-only file.
// - The image goes to a new temporary file beside the real one (created exclusively, never
//   through a link, with a short random name), is flushed, takes the old file's mode,
//   owner and group, and is renamed over it. Once the rename is done the save has
//   succeeded. On every failure the temporary file is removed.
// - A file with more than one name, one whose folder takes no new file, or one whose owner
//   could not be kept, is written in place instead: room for the image is reserved first,
//   then the image is written in one go, cut to length and flushed.
void SaveFileImage(LPCSTR lpszPath, const void* image, size_t size);

// Reads the file at path, at most limit bytes of it. Never waits: anything that is not a
// regular file (a folder, a FIFO, a device) is refused before it is opened.
std::vector<uint8_t> LoadFileImage(LPCSTR lpszPath, size_t limit);

// The reason given for a refused FIFO, device or socket.
constexpr const char* NOT_A_REGULAR_FILE = "Not a regular file";

// Test hook: the temporary names (without a folder) that saves try first, in this order,
// before random ones. An empty list goes back to random names only.
void SetTemporaryNames(std::vector<std::string> names);

}  // namespace platform
