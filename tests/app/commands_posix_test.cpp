// The file commands where only POSIX systems can show it: FIFOs and symbolic links.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/app/commands_fixture.h"

namespace {

using namespace commandtest;

// Catches a load that freezes on a FIFO with no writer (the alarm ends a hung test), or
// that says nothing about it.
TEST_F(CommandTest, LoadingAFifoIsRefusedAtOnce) {
    Populate();
    ASSERT_EQ(::mkfifo((folder / "pipe.vrz").c_str(), 0644), 0);
    ::alarm(30);
    Load("pipe.vrz");
    ::alarm(0);
    EXPECT_EQ(frame->world.year, 41);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Access to " + (folder / "pipe.vrz").string() + " was denied.\nNot a regular file");
}

// Catches a save through a link that replaces the link with a file of its own.
TEST_F(CommandTest, SaveThroughALinkUpdatesTheRealFile) {
    Populate();
    WriteFile("real.vrz", {0});
    fs::create_symlink("real.vrz", folder / "link.vrz");
    SaveAs("link.vrz");
    EXPECT_TRUE(fs::is_symlink(folder / "link.vrz"));
    EXPECT_EQ(fs::file_size(folder / "real.vrz"), 4853u);
    EXPECT_EQ(boxes.size(), 1u) << "only the replace question";
}

}  // namespace
