// LoadImage from files in the current directory and from the embedded resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gdi_fixture.h"
#include "platform/res/resources.h"
#include "tests/support/temp_folder.h"

using gdi_test::Hex;
using gdi_test::MakeBmp;
using gdi_test::Target;
using platform::PixelFormat;

namespace {

constexpr UINT FROM_FILE = LR_CREATEDIBSECTION | LR_LOADFROMFILE;

// Runs each test in a fresh temporary directory, as the program's current directory.
class LoadImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        old_ = std::filesystem::current_path();
        dir_ = testsupport::MakeTempFolder("vorla_gdi_cwd_");
        ASSERT_FALSE(dir_.empty());
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    static void Write(const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    static BITMAP Describe(HANDLE h) {
        BITMAP bm{};
        GetObject(static_cast<HBITMAP>(h), int(sizeof bm), &bm);
        return bm;
    }

    std::filesystem::path old_, dir_;
};

// Copies a bitmap 1:1 onto a 5-6-5 target.
void CopyTo(HANDLE bitmap, Target& t) {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, static_cast<HBITMAP>(bitmap));
    StretchBlt(t.dc, 0, 0, t.width, t.height, mem, 0, 0, t.width, t.height, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

}  // namespace

// Catches a loader that ignores the file flag, the relative path, or the requested size.
TEST_F(LoadImageTest, FileInCurrentDirectoryAtOwnOrRequestedSize) {
    Write("IDB_TEST", MakeBmp(4, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8}));
    HANDLE own = LoadImage(nullptr, "IDB_TEST", IMAGE_BITMAP, 0, 0, FROM_FILE);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Describe(own).bmWidth, 4);
    EXPECT_EQ(Describe(own).bmHeight, 2);
    EXPECT_EQ(Describe(own).bmBitsPixel, 24);

    HANDLE scaled = LoadImage(nullptr, "IDB_TEST", IMAGE_BITMAP, 8, 6, FROM_FILE);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(Describe(scaled).bmWidth, 8);
    EXPECT_EQ(Describe(scaled).bmHeight, 6);
    Target t(8, 6, PixelFormat::XRGB8888);
    CopyTo(scaled, t);
    EXPECT_EQ(t.Raw(0, 0), 1u);
    EXPECT_EQ(t.Raw(7, 5), 8u);
    EXPECT_EQ(t.Raw(3, 2), 2u);

    HANDLE wide = LoadImage(nullptr, "IDB_TEST", IMAGE_BITMAP, 12, 0, FROM_FILE);
    EXPECT_EQ(Describe(wide).bmWidth, 12);
    EXPECT_EQ(Describe(wide).bmHeight, 2) << "0 keeps the own extent";

    EXPECT_EQ(LoadImage(nullptr, "IDB_TEST", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr)
        << "without the file flag only resources count";
    for (HANDLE h : {own, scaled, wide}) {
        EXPECT_TRUE(DeleteObject(static_cast<HBITMAP>(h)));
    }
}

// Catches a file name passed to the system in its own code page instead of as UTF-8.
TEST_F(LoadImageTest, FileWithAUtf8NameLoads) {
    const std::u8string name = u8"sv\u011Bt-\u00FC.bmp";
    const auto bmp = MakeBmp(4, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8});
    std::ofstream(std::filesystem::path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    const std::string bytes(name.begin(), name.end());
    HANDLE h = LoadImage(nullptr, bytes.c_str(), IMAGE_BITMAP, 0, 0, FROM_FILE);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Describe(h).bmWidth, 4);
    EXPECT_TRUE(DeleteObject(static_cast<HBITMAP>(h)));
}

// Catches a crash or a half-made bitmap from missing, empty or damaged files.
TEST_F(LoadImageTest, MissingOrDamagedFileGivesNull) {
    EXPECT_EQ(LoadImage(nullptr, "NOT_THERE", IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
    Write("EMPTY", {});
    EXPECT_EQ(LoadImage(nullptr, "EMPTY", IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
    auto bmp = MakeBmp(4, 4, 8, std::vector<uint32_t>(16, 0), {0x00FF00});
    bmp.resize(bmp.size() - 3);
    Write("CUT", bmp);
    EXPECT_EQ(LoadImage(nullptr, "CUT", IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
    std::filesystem::create_directory("DIR");
    EXPECT_EQ(LoadImage(nullptr, "DIR", IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
    EXPECT_EQ(LoadImage(nullptr, nullptr, IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
    EXPECT_EQ(LoadImage(nullptr, MAKEINTRESOURCE(5), IMAGE_BITMAP, 0, 0, FROM_FILE), nullptr);
}

// Catches a file of the same name shadowing the embedded sheet, and an 8-bit sheet whose
// magenta and separator pixels convert wrongly.
TEST_F(LoadImageTest, EmbeddedResourceIsFoundBeforeFileOfSameName) {
    HINSTANCE module = platform::ExecutableInstance();
    Write("IDB_POTVORY", MakeBmp(2, 2, 24, {0, 0, 0, 0}));
    HANDLE res = LoadImage(module, "IDB_POTVORY", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(res, nullptr);
    BITMAP bm = Describe(res);
    EXPECT_EQ(bm.bmWidth, 60);
    EXPECT_EQ(bm.bmHeight, 80);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    Target t(60, 80, PixelFormat::RGB565);
    CopyTo(res, t);
    EXPECT_EQ(t.Raw(18, 0), 0xF81Fu) << "offset 18 of a tile is magenta: " << Hex(t.Raw(18, 0));
    EXPECT_EQ(t.Raw(19, 5), 0x8010u) << "the separator is RGB(128, 0, 128): " << Hex(t.Raw(19, 5));
    DeleteObject(static_cast<HBITMAP>(res));

    HANDLE file = LoadImage(nullptr, "IDB_POTVORY", IMAGE_BITMAP, 0, 0, FROM_FILE);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Describe(file).bmWidth, 2);
    DeleteObject(static_cast<HBITMAP>(file));

    EXPECT_EQ(LoadImage(module, "IDB_NOSUCH", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(LoadImage(nullptr, "IDB_POTVORY", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr)
        << "a null module has no resources";
}

// Catches the background failing to load at the display's size.
TEST_F(LoadImageTest, BackgroundLoadsAtScreenSize) {
    HANDLE h = LoadImage(platform::ExecutableInstance(), "IDB_PLOCHA", IMAGE_BITMAP, 640, 480,
                         LR_CREATEDIBSECTION);
    ASSERT_NE(h, nullptr);
    BITMAP bm = Describe(h);
    EXPECT_EQ(bm.bmWidth, 640);
    EXPECT_EQ(bm.bmHeight, 480);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    DeleteObject(static_cast<HBITMAP>(h));
}
