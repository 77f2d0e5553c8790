// Proves that the cross-built libraries link statically and work on the target: SDL's
// timer subsystem starts, FreeType opens a library, and a C++ exception crosses a frame.
#include <SDL.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

TEST(DepsCheck, SdlTimerStartsAndTicks) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0) << SDL_GetError();
    SDL_version linked;
    SDL_GetVersion(&linked);
    std::printf("SDL %d.%d.%d (built against %d.%d.%d), platform %s\n", linked.major, linked.minor,
                linked.patch, SDL_MAJOR_VERSION, SDL_MINOR_VERSION, SDL_PATCHLEVEL,
                SDL_GetPlatform());
    EXPECT_EQ(linked.major, SDL_MAJOR_VERSION);
    EXPECT_EQ(linked.minor, SDL_MINOR_VERSION);
    const Uint64 start = SDL_GetPerformanceCounter();
    EXPECT_GT(SDL_GetPerformanceFrequency(), 0u);
    EXPECT_GE(SDL_GetPerformanceCounter(), start);
    SDL_Quit();
}

TEST(DepsCheck, FreetypeInitialises) {
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library, &major, &minor, &patch);
    std::printf("FreeType %d.%d.%d\n", major, minor, patch);
    EXPECT_EQ(major, FREETYPE_MAJOR);
    EXPECT_EQ(minor, FREETYPE_MINOR);
    EXPECT_EQ(FT_Done_FreeType(library), 0);
}

[[noreturn]] void fail_deep(int depth) {
    if (depth == 0)
        throw std::runtime_error("thrown");
    fail_deep(depth - 1);
}

TEST(DepsCheck, ExceptionsAreCaught) {
    EXPECT_THROW(fail_deep(3), std::runtime_error);
    EXPECT_THAT(std::string("gmock matches"), testing::HasSubstr("matches"));
}

}  // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
