// Whole-file saves and loads of a world: a replacement (temporary, flush, rename), a write
// in place (a hard-linked file), a load, and a load of a huge sparse file, which must cost
// no more than the format's limit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persist/worldfile.h"
#include "platform/afx/file_image.h"

namespace {

class Folder {
  public:
    Folder() {
        std::string templ =
            (std::filesystem::temp_directory_path() / "vorla-bench-XXXXXX").string();
        if (mkdtemp(templ.data()))
            path_ = templ;
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::vector<uint8_t> WorldImage() {
    WorldState world;
    world.ResetWorld();
    MemoryWorldStream stream;
    WriteWorldFile(stream, world);
    return stream.Bytes();
}

void Save(const std::string& path, const std::vector<uint8_t>& image) {
    try {
        platform::SaveFileImage(path.c_str(), image.data(), image.size());
    } catch (CFileException* e) {
        e->Delete();
    }
}

void BM_SaveByReplacing(benchmark::State& state) {
    Folder folder;
    const std::vector<uint8_t> image = WorldImage();
    const std::string path = folder / "w.vrz";
    Save(path, image);
    for (auto _ : state)
        Save(path, image);
}
BENCHMARK(BM_SaveByReplacing)->Unit(benchmark::kMicrosecond);

void BM_SaveInPlace(benchmark::State& state) {
    Folder folder;
    const std::vector<uint8_t> image = WorldImage();
    const std::string path = folder / "w.vrz";
    Save(path, image);
    std::filesystem::create_hard_link(path, folder / "other.vrz");
    for (auto _ : state)
        Save(path, image);
}
BENCHMARK(BM_SaveInPlace)->Unit(benchmark::kMicrosecond);

void BM_LoadWorld(benchmark::State& state) {
    Folder folder;
    const std::string path = folder / "w.vrz";
    Save(path, WorldImage());
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::LoadFileImage(path.c_str(), WORLD_FILE_LIMIT));
}
BENCHMARK(BM_LoadWorld)->Unit(benchmark::kMicrosecond);

void BM_LoadHugeSparseFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder / "huge.vrz";
    Save(path, WorldImage());
    std::filesystem::resize_file(path, uint64_t(2) << 30);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::LoadFileImage(path.c_str(), WORLD_FILE_LIMIT));
}
BENCHMARK(BM_LoadHugeSparseFile)->Unit(benchmark::kMicrosecond);

}  // namespace
