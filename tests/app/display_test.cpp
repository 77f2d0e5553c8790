
#include <cstring>
#include <filesystem>
#include <fstream>

#include "display/bitmap_surfaces.h"
#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"
#include "platform/res/resources.h"
#include "tests/app/app_fixture.h"
#include "tests/platform_gdi/gdi_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

class DisplayTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        WNDCLASS wc{};
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = "DisplayTestWindow";
        RegisterClass(&wc);
        window = CreateWindowEx(0, "DisplayTestWindow", "", WS_POPUP, 0, 0, 640, 480, nullptr,
                                nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        device.Release();
        AppTest::TearDown();
    }

    IDirectDrawSurface* OffScreen(int width, int height, DWORD bits = 0, DWORD r = 0, DWORD g = 0,
                                  DWORD b = 0) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof(desc));
        desc.dwSize = 108;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = DWORD(width);
        desc.dwHeight = DWORD(height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        if (bits != 0) {
            desc.dwFlags |= DDSD_PIXELFORMAT;
            desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
            desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
            desc.ddpfPixelFormat.dwRGBBitCount = bits;
            desc.ddpfPixelFormat.dwRBitMask = r;
            desc.ddpfPixelFormat.dwGBitMask = g;
            desc.ddpfPixelFormat.dwBBitMask = b;
        }
        IDirectDrawSurface* surface = nullptr;
        EXPECT_EQ(device.GetDirectDraw()->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return surface;
    }

    static void SetFirstPixel(IDirectDrawSurface* surface, uint32_t value) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof(desc));
        desc.dwSize = 108;
        ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        std::memcpy(desc.lpSurface, &value, desc.ddpfPixelFormat.dwRGBBitCount / 8);
        surface->Unlock(nullptr);
    }

    CDisplay device;
};

// Catches a wrong parity of the page GDI draws on, which would hide menus and dialogs.
TEST_F(DisplayTest, GdiPageFollowsTheFlips) {
    ASSERT_EQ(device.Init(window, 800, 600, 0), 1);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = 108;
    device.primarySurface->GetSurfaceDesc(&desc);
    EXPECT_EQ(desc.dwWidth, 640u);  // 800 x 600 asked, 640 x 480 given
    EXPECT_EQ(desc.dwHeight, 480u);

    const int presents = host->PresentCount();
    EXPECT_EQ(device.ShowGdiPage(), DD_OK);
    EXPECT_EQ(host->PresentCount(), presents);  // no flip
    EXPECT_EQ(device.Flip(), DD_OK);
    EXPECT_EQ(device.gdiPageInFront, 0);
    EXPECT_EQ(device.ShowGdiPage(), DD_OK);
    EXPECT_EQ(device.gdiPageInFront, 1);
    EXPECT_TRUE(platform::GdiPageInFront());
    const int afterShow = host->PresentCount();
    EXPECT_EQ(device.ShowGdiPage(), DD_OK);
    EXPECT_EQ(host->PresentCount(), afterShow);
    device.Flip();
    device.Flip();
    EXPECT_EQ(device.gdiPageInFront, 1);
}

// Catches a lost flip that toggles the page bookkeeping, or a chain never restored.
TEST_F(DisplayTest, LostFlipKeepsTheParityAndRestoresOnReturn) {
    ASSERT_EQ(device.Init(window, 640, 480, 0), 1);
    host->ForceScreenLoss();
    EXPECT_EQ(device.Flip(), DDERR_SURFACELOST);
    EXPECT_EQ(device.gdiPageInFront, 1);
    EXPECT_EQ(device.primarySurface->IsLost(), DDERR_SURFACELOST);  // restore refused
    host->RegainScreen();
    EXPECT_EQ(device.Flip(), DDERR_SURFACELOST);  // this one restores
    EXPECT_EQ(device.primarySurface->IsLost(), DD_OK);
    EXPECT_EQ(device.Flip(), DD_OK);
    EXPECT_EQ(device.gdiPageInFront, 0);
}

// Catches a failed Init that leaves the device half active, a device without DirectDraw
// that still takes the screen, or a Release that trips over what was never made.
TEST_F(DisplayTest, FailedInitMakesFlipsHarmlessAndReleaseSafe) {
    host->RefuseMode(true);
    EXPECT_EQ(device.Init(window, 640, 480, 0), 0);
    EXPECT_EQ(device.active, 0);
    EXPECT_EQ(device.Flip(), 1);
    device.Release();
    EXPECT_EQ(device.GetDirectDraw(), nullptr);
    device.Release();

    host->RefuseMode(false);
    platform::RefuseDirectDrawForTesting(true);
    CDisplay without;
    EXPECT_EQ(without.GetDirectDraw(), nullptr);
    EXPECT_EQ(without.Init(window, 640, 480, 0), 0);
    EXPECT_FALSE(host->HasScreen());
    EXPECT_EQ(without.active, 0);
    const int presents = host->PresentCount();
    EXPECT_EQ(without.Flip(), 1);
    EXPECT_EQ(host->PresentCount(), presents);
    without.Release();
}

// Catches a key derived by arithmetic instead of GDI's own conversion, or a probe that
// leaves its pixel changed.
TEST_F(DisplayTest, MatchSurfaceColorConvertsLikeGdiAndRestoresThePixel) {
    ASSERT_EQ(device.Init(window, 640, 480, 0), 1);
    IDirectDrawSurface* rgb565 = OffScreen(4, 4);
    IDirectDrawSurface* rgb555 = OffScreen(4, 4, 16, 0x7C00, 0x03E0, 0x001F);
    IDirectDrawSurface* rgb32 = OffScreen(4, 4, 32, 0xFF0000, 0x00FF00, 0x0000FF);
    SetFirstPixel(rgb565, 0x1234);
    SetFirstPixel(rgb555, 0x0421);
    SetFirstPixel(rgb32, 0x00ABCDEF);

    EXPECT_EQ(MatchSurfaceColor(rgb565, SHEET_TRANSPARENT), 0xF81Fu);
    EXPECT_EQ(MatchSurfaceColor(rgb555, SHEET_TRANSPARENT), 0x7C1Fu);
    EXPECT_EQ(MatchSurfaceColor(rgb32, SHEET_TRANSPARENT), 0x00FF00FFu);
    EXPECT_EQ(MatchSurfaceColor(rgb565, RGB(255, 255, 255)), 0xFFFFu);

    EXPECT_EQ(MatchSurfaceColor(rgb565, CLR_INVALID), 0x1234u);
    EXPECT_EQ(MatchSurfaceColor(rgb555, CLR_INVALID), 0x0421u);
    EXPECT_EQ(MatchSurfaceColor(rgb32, CLR_INVALID), 0x00ABCDEFu);

    EXPECT_EQ(SetSurfaceColorKey(rgb565, SHEET_TRANSPARENT), DD_OK);
    DDCOLORKEY key{};
    rgb565->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xF81Fu);
    EXPECT_EQ(key.dwColorSpaceHighValue, 0xF81Fu);
    rgb565->GetColorKey(DDCKEY_DESTBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xF81Fu);
    rgb565->Release();
    rgb555->Release();
    rgb32->Release();
}

// Catches the loader's lookup order or a scaled load of the wrong size.
TEST_F(DisplayTest, LoadBitmapSurfaceScalesAndReportsMissingBitmaps) {
    ASSERT_EQ(device.Init(window, 640, 480, 0), 1);
    const HINSTANCE module = AfxGetInstanceHandle();
    IDirectDrawSurface* own = LoadBitmapSurface(device.GetDirectDraw(), "IDB_OKOLI", 0, 0, module);
    ASSERT_NE(own, nullptr);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = 108;
    own->GetSurfaceDesc(&desc);
    EXPECT_EQ(desc.dwWidth, 149u);
    EXPECT_EQ(desc.dwHeight, 105u);
    IDirectDrawSurface* scaled =
        LoadBitmapSurface(device.GetDirectDraw(), "IDB_OKOLI", 298, 210, module);
    ASSERT_NE(scaled, nullptr);
    scaled->GetSurfaceDesc(&desc);
    EXPECT_EQ(desc.dwWidth, 298u);
    EXPECT_EQ(LoadBitmapSurface(device.GetDirectDraw(), "IDB_NOWHERE", 0, 0, module), nullptr);
    EXPECT_EQ(ReloadBitmapSurface(own, "IDB_NOWHERE", module), E_FAIL);
    EXPECT_EQ(CopyBitmapToSurface(own, nullptr, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CopyBitmapToSurface(nullptr, HBITMAP(own), 0, 0, 0, 0), E_FAIL);
    own->Release();
    scaled->Release();
}

// The current directory moved to a fresh temporary folder while it lives.
class TemporaryCurrentDirectory {
  public:
    TemporaryCurrentDirectory() : old_(std::filesystem::current_path()) {
        dir_ = testsupport::MakeTempFolder("vorla_display_cwd_");
        if (!dir_.empty()) {
            std::filesystem::current_path(dir_);
        }
    }
    ~TemporaryCurrentDirectory() {
        std::filesystem::current_path(old_);
        if (!dir_.empty()) {
            std::filesystem::remove_all(dir_);
        }
    }
    void Write(const char* name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

  private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
};

// Catches a file named like a sheet that shadows the built-in picture, or a missing
// picture not looked for as a file in the current directory, in both loaders (a reload
// restores the sheets after a loss).
TEST_F(DisplayTest, BitmapsComeFromTheResourceFirstThenFromAFile) {
    ASSERT_EQ(device.Init(window, 640, 480, 0), 1);
    const HINSTANCE module = AfxGetInstanceHandle();
    TemporaryCurrentDirectory folder;
    // Red, green, blue / white, black, grey.
    folder.Write("IDB_OKOLI", gdi_test::MakeBmp(
                                  3, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0, 0x808080}));

    IDirectDrawSurface* sheet =
        LoadBitmapSurface(device.GetDirectDraw(), "IDB_OKOLI", 0, 0, module);
    ASSERT_NE(sheet, nullptr);
    const SurfacePixels builtIn = ReadSurface(sheet);
    EXPECT_EQ(builtIn.width, 149);
    EXPECT_EQ(builtIn.height, 105);
    EXPECT_EQ(ReloadBitmapSurface(sheet, "IDB_OKOLI", module), DD_OK);
    EXPECT_EQ(ReadSurface(sheet).pixels, builtIn.pixels);

    platform::HideResourceForTesting("IDB_OKOLI", true);
    IDirectDrawSurface* fromFile =
        LoadBitmapSurface(device.GetDirectDraw(), "IDB_OKOLI", 0, 0, module);
    EXPECT_EQ(ReloadBitmapSurface(sheet, "IDB_OKOLI", module), DD_OK);
    platform::HideResourceForTesting("IDB_OKOLI", false);
    ASSERT_NE(fromFile, nullptr);
    const SurfacePixels file = ReadSurface(fromFile);
    EXPECT_EQ(file.width, 3);
    EXPECT_EQ(file.height, 2);
    EXPECT_EQ(file.pixels, (std::vector<uint32_t>{0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0x8410}));
    const SurfacePixels reloaded = ReadSurface(sheet);
    EXPECT_EQ(reloaded.At(0, 0), 0xF800u) << "the file, stretched over the sheet";
    EXPECT_EQ(reloaded.At(148, 104), 0x8410u);
    fromFile->Release();
    sheet->Release();
}

// Catches a reload that copies the bitmap at its own size instead of stretching it over
// the whole surface, leaving the rest of a larger surface as it was.
TEST_F(DisplayTest, ReloadStretchesTheBitmapOverASurfaceOfAnotherSize) {
    ASSERT_EQ(device.Init(window, 640, 480, 0), 1);
    const HINSTANCE module = AfxGetInstanceHandle();
    IDirectDrawSurface* own = LoadBitmapSurface(device.GetDirectDraw(), "IDB_OKOLI", 0, 0, module);
    ASSERT_NE(own, nullptr);
    const SurfacePixels picture = ReadSurface(own);
    IDirectDrawSurface* doubled = OffScreen(298, 210);
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof(fx));
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0x1234;
    doubled->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);

    EXPECT_EQ(ReloadBitmapSurface(doubled, "IDB_OKOLI", module), DD_OK);
    const SurfacePixels stretched = ReadSurface(doubled);
    int mismatches = 0;
    for (int y = 0; y < 210; ++y) {
        for (int x = 0; x < 298; ++x) {
            mismatches += stretched.At(x, y) != picture.At(x / 2, y / 2);
        }
    }
    EXPECT_EQ(mismatches, 0);
    own->Release();
    doubled->Release();
}

}  // namespace
