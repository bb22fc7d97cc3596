#include "base/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace klavoset {
namespace {

// A file is read in one read into a buffer of its size; what the size does not cover is read on.
TEST(RealFileSystemRead, ReadsAnImageWhole)
{
    test::TempDir dir;
    const auto path = dir.path / "ff.bin";
    std::vector<std::uint8_t> bytes((16 << 20) + 7);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 16));
    test::writeBytes(path, bytes);
    const auto read = RealFileSystem().readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_TRUE(read.value() == bytes);
}

TEST(RealFileSystemRead, ReadsAFileWhoseSizeIsNotKnownBeforehand)
{
    // The system reports a size of 0 for it, yet it has content.
    const std::filesystem::path path = "/proc/self/cmdline";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no /proc here";
    const auto read = RealFileSystem().readAll(path.u16string());
    ASSERT_TRUE(read.isOk());
    EXPECT_FALSE(read.value().empty());
    EXPECT_EQ(read.value(), test::readBytes(path));
}

} // namespace
} // namespace klavoset
