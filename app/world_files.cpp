#include "app/world_files.h"

#include "persist/worldfile.h"
#include "platform/afx/file_image.h"

namespace {
constexpr const char* NOT_A_WORLD_FILE = "Not a world file";
}  // namespace

void LoadWorldFile(const std::string& path, WorldState& world) {
    const std::string full = platform::FullPathOf(path);
    MemoryWorldStream stream(platform::LoadFileImage(full.c_str(), WORLD_FILE_LIMIT));
    if (!ReadWorldFile(stream, world)) {
        auto* error = new CFileException(CFileException::genericException, -1, full.c_str());
        error->m_strReason = NOT_A_WORLD_FILE;
        throw error;
    }
}

void SaveWorldFile(const std::string& path, const WorldState& world) {
    MemoryWorldStream image;
    WriteWorldFile(image, world);
    platform::SaveFileImage(path.c_str(), image.Bytes().data(), image.Bytes().size());
}
