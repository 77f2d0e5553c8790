// CFile where only POSIX systems can show it: a real limit on a file's size.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/afx/file.h"

namespace {

using filetest::TempFolder;

class FilePosixTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir.Path().empty()); }
    TempFolder dir;
};

// Catches a real full device (a file-size limit) not reported as diskFull. Runs in a
// child so the test runner's own limit is untouched.
TEST_F(FilePosixTest, FileSizeLimitGivesDiskFull) {
    std::string path = dir / "limited.bin";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        int result = 100;
        try {
            CFile file(path.c_str(), 0x9001);
            std::vector<char> block(600, 'z');
            file.Write(block.data(), 600);
            file.Write(block.data(), 600);
            result = 0;
        } catch (CFileException* e) {
            result = e->m_cause;
            e->Delete();
        }
        _exit(result);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), CFileException::diskFull);
    EXPECT_EQ(std::filesystem::file_size(path), 1000u) << "what fitted is kept";
}

}  // namespace
