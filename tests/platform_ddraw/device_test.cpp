// The device on the headless host: taking the screen, the flip chain, presenting, loss.
#include <cstdio>
#include <fstream>

#include "ddraw_fixture.h"

using namespace ddtest;

namespace {

class ScreenTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenScreen();
    }
    void TearDown() override {
        CloseScreen();
        DeviceTest::TearDown();
    }
    uint16_t Shown(int x, int y) { return host->Presented().at(size_t(y) * 640 + size_t(x)); }
};

}  // namespace

// Faults: the screen taken although the host refuses it; a second program let in.
TEST_F(DeviceTest, CooperativeLevelTakesTheHostScreen) {
    EXPECT_EQ(dd->SetCooperativeLevel(FakeWindow(), 0x13), DD_OK);
    EXPECT_TRUE(host->HasScreen());
    IDirectDraw* other = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &other, nullptr), DD_OK);
    EXPECT_EQ(other->SetCooperativeLevel(FakeWindow(), 0x13), DDERR_EXCLUSIVEMODEALREADYSET);
    other->Release();
    dd->Release();
    dd = nullptr;
    EXPECT_FALSE(host->HasScreen()) << "released device kept the screen";

    host->RefuseScreen(true);
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    EXPECT_NE(dd->SetCooperativeLevel(FakeWindow(), 0x13), DD_OK);
}

// Faults: any mode accepted, the host's refusal ignored, a mode set without exclusivity.
TEST_F(DeviceTest, DisplayModeIs640x480x16Only) {
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(FakeWindow(), 0x13), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 16), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 32), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16), DD_OK);
    host->RefuseMode(true);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->RestoreDisplayMode(), DD_OK);
}

// Faults: creation arguments refused, or aggregation and a null GUID mixed up.
TEST_F(DeviceTest, DirectDrawCreateArguments) {
    IDirectDraw* other = nullptr;
    EXPECT_EQ(DirectDrawCreate(nullptr, &other, reinterpret_cast<void*>(1)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(other, nullptr);
    GUID g{};
    EXPECT_NE(DirectDrawCreate(&g, &other, nullptr), DD_OK);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    platform::RefuseDirectDrawForTesting(true);
    other = dd;
    EXPECT_EQ(DirectDrawCreate(nullptr, &other, nullptr), DDERR_NODIRECTDRAWSUPPORT);
    EXPECT_EQ(other, nullptr) << "a failed create left a pointer behind";
    platform::RefuseDirectDrawForTesting(false);
}

// Faults: a flip chain made without exclusive mode, or two primaries on two pages.
TEST_F(DeviceTest, PrimaryNeedsExclusiveModeAndIsUnique) {
    DDSURFACEDESC d{};
    d.dwSize = 108;
    d.dwFlags = 0x21;
    d.ddsCaps.dwCaps = 0x218;
    d.dwBackBufferCount = 1;
    IDirectDrawSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_NOEXCLUSIVEMODE);
    OpenScreen();
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    CloseScreen();
    ASSERT_EQ(dd->CreateSurface(&d, &s, nullptr), DD_OK) << "released chain kept its pages";
    s->Release();
}

// Faults: the back buffer not attached, its reference not counted, Flip allowed on it.
TEST_F(ScreenTest, ChainShape) {
    DDSURFACEDESC d{};
    d.dwSize = 108;
    ASSERT_EQ(primary->GetSurfaceDesc(&d), DD_OK);
    EXPECT_EQ(d.dwWidth, 640u);
    EXPECT_EQ(d.dwHeight, 480u);
    EXPECT_EQ(d.dwBackBufferCount, 1u);
    EXPECT_EQ(d.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_EQ(back->AddRef(), 2u) << "GetAttachedSurface must hand out its own reference";
    back->Release();
    DDSCAPS caps{DDSCAPS_OFFSCREENPLAIN};
    IDirectDrawSurface* none = nullptr;
    EXPECT_EQ(primary->GetAttachedSurface(&caps, &none), DDERR_NOTFOUND);
    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
}

// Faults: flip not swapping the pages, presenting the wrong page, GDI following the
// primary object instead of staying on its page.
TEST_F(ScreenTest, FlipParityAndTheGdiPage) {
    ASSERT_TRUE(platform::GdiPageInFront());
    ASSERT_EQ(Fill(primary, 0x001F), DD_OK);
    ASSERT_EQ(Fill(back, 0xF800), DD_OK);
    EXPECT_EQ(platform::GdiPage().pixels, platform::FrontPage().pixels);

    const int before = host->PresentCount();
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(host->PresentCount(), before + 1);
    EXPECT_EQ(Shown(0, 0), 0xF800) << "the old back page must be shown";
    EXPECT_FALSE(platform::GdiPageInFront());
    EXPECT_EQ(PixelAt(primary, 5, 5), 0xF800u) << "primary object holds the shown page";
    EXPECT_EQ(PixelAt(back, 5, 5), 0x001Fu) << "back-buffer object holds the old front";
    uint16_t gdiPixel;
    std::memcpy(&gdiPixel, platform::GdiPage().pixels, 2);
    EXPECT_EQ(gdiPixel, 0x001F) << "GDI stays on the page that was primary at creation";

    ASSERT_EQ(primary->Flip(back, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Shown(639, 479), 0x001F);
    EXPECT_TRUE(platform::GdiPageInFront());
}

// Fault: a new chain made while the GDI page is hidden leaves GDI drawing off screen.
TEST_F(ScreenTest, NewChainStartsWithTheGdiPageInFront) {
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    ASSERT_FALSE(platform::GdiPageInFront());
    CloseScreen();
    OpenScreen();
    EXPECT_TRUE(platform::GdiPageInFront());
}

// Faults: frames presented when nothing in front changed, or drawing on the front page
// never shown.
TEST_F(ScreenTest, PresentsOnlyWhenTheFrontPageChanged) {
    platform::PresentIfChanged();
    const int start = host->PresentCount();
    ASSERT_EQ(Fill(back, 0x07E0), DD_OK);
    platform::PresentIfChanged();
    EXPECT_EQ(host->PresentCount(), start) << "back buffer is not visible";
    ASSERT_EQ(Fill(primary, 0x07E0), DD_OK);
    platform::PresentIfChanged();
    EXPECT_EQ(host->PresentCount(), start + 1);
    EXPECT_EQ(Shown(320, 240), 0x07E0);
    platform::PresentIfChanged();
    EXPECT_EQ(host->PresentCount(), start + 1);
}

// Faults: a lost surface still drawable, Restore succeeding while the screen is away,
// regaining the screen silently un-losing surfaces, the back buffer left lost after the
// primary is restored, a system-memory surface lost.
TEST_F(ScreenTest, LossThenRestoreThenDrawAgain) {
    IDirectDrawSurface* sheet = Make(20, 20);
    IDirectDrawSurface* sys =
        Make(4, 4, platform::PixelFormat::RGB565, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    ASSERT_EQ(Fill(sheet, 0x1234), DD_OK);

    host->ForceScreenLoss();
    platform::HostEvent e;
    ASSERT_TRUE(host->PollEvent(e));
    EXPECT_EQ(e.type, platform::HostEventType::Minimized);
    for (IDirectDrawSurface* s : {primary, back, sheet}) {
        EXPECT_EQ(s->IsLost(), DDERR_SURFACELOST);
        EXPECT_EQ(s->Restore(), DDERR_WRONGMODE);
        HDC dc = nullptr;
        EXPECT_EQ(s->GetDC(&dc), DDERR_SURFACELOST);
        DDSURFACEDESC d{};
        d.dwSize = 108;
        EXPECT_EQ(s->Lock(nullptr, &d, 0, nullptr), DDERR_SURFACELOST);
    }
    EXPECT_EQ(sys->IsLost(), DD_OK);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_TRUE(platform::GdiPageInFront()) << "a failed flip must not swap";

    host->RegainScreen();
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST) << "regaining does not un-lose";
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK) << "restoring the primary restores its chain";
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST)
        << "the sheet is still lost";
    EXPECT_EQ(sheet->Restore(), DD_OK);
    EXPECT_EQ(PixelAt(sheet, 0, 0), 0u) << "contents are not brought back";
    ASSERT_EQ(Fill(sheet, 0x4321), DD_OK);
    ASSERT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Shown(19, 19), 0x4321);
    EXPECT_EQ(Shown(20, 20), 0x0000);
    sheet->Release();
    sys->Release();
}

// Faults: flipping while GDI or a lock holds a page.
TEST_F(ScreenTest, FlipRefusedWhileAPageIsHeld) {
    DDSURFACEDESC d{};
    d.dwSize = 108;
    ASSERT_EQ(back->Lock(nullptr, &d, 0, nullptr), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    ASSERT_EQ(back->Unlock(nullptr), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

// Faults: the virtual clock not advancing while idle, or advancing past queued input.
TEST(HeadlessHost, ClockAndScriptedInput) {
    platform::HeadlessHost& host = platform::InstallHeadlessHost();
    host.WaitForEvent(40);
    EXPECT_EQ(host.NowMs(), 40u);
    host.PushEvent({.type = platform::HostEventType::KeyDown, .virtualKey = 27});
    host.WaitForEvent(500);
    EXPECT_EQ(host.NowMs(), 40u);
    platform::HostEvent e;
    ASSERT_TRUE(host.PollEvent(e));
    EXPECT_EQ(e.virtualKey, 27u);
    EXPECT_EQ(e.timeMs, 40u);
    EXPECT_FALSE(host.PollEvent(e));
}

// Faults: a PNG or BMP that isn't one, or colours expanded wrongly from 5-6-5.
TEST(HeadlessHost, SavesThePresentedPage) {
    platform::HeadlessHost& host = platform::InstallHeadlessHost();
    EXPECT_FALSE(host.SavePng("/nonexistent/x.png")) << "nothing presented yet";
    std::vector<uint16_t> page(640 * 480, 0xF800);
    host.Present(reinterpret_cast<const uint8_t*>(page.data()), 1280);
    const std::string dir = ::testing::TempDir();
    ASSERT_TRUE(host.SavePng(dir + "/vorla_page.png"));
    ASSERT_TRUE(host.SaveBmp(dir + "/vorla_page.bmp"));
    std::ifstream png(dir + "/vorla_page.png", std::ios::binary);
    char sig[8] = {};
    png.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    std::ifstream bmp(dir + "/vorla_page.bmp", std::ios::binary);
    std::vector<char> b((std::istreambuf_iterator<char>(bmp)), {});
    ASSERT_GT(b.size(), 60u);
    EXPECT_EQ(b[0], 'B');
    const uint32_t offset = uint8_t(b[10]) | uint8_t(b[11]) << 8;
    EXPECT_EQ(uint8_t(b[offset + 2]), 0xFF) << "red 31 expands to 255";
    EXPECT_EQ(uint8_t(b[offset + 1]), 0x00);
    std::remove((dir + "/vorla_page.png").c_str());
    std::remove((dir + "/vorla_page.bmp").c_str());
}
