#include "base/atomic_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::TempDir;

TEST(AtomicFile, CreatesAndReplacesWithoutLeavingTemporaryFiles) {
  TempDir dir;
  const std::string path = dir.File("out.txt");
  ASSERT_FALSE(WriteFileAtomically(path, "first\r\n"));
  ASSERT_FALSE(WriteFileAtomically(path, "second\r\n"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "second\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(AtomicFile, FailedReplaceKeepsTheOldBytes) {
  TempDir dir;
  const std::string path = dir.File("keep.txt");
  ASSERT_FALSE(WriteFileAtomically(path, "precious"));
  // The target is a directory now: the rename must fail and the temp file vanish.
  const std::string blocked = dir.File("blocked");
  std::filesystem::create_directory(blocked);
  std::filesystem::create_directory(blocked + "/inside");
  FileWriteError error = WriteFileAtomically(blocked, "new");
  EXPECT_TRUE(error);
  EXPECT_EQ(error.operation, "rename");
  EXPECT_TRUE(DirectoryExists(blocked));

  FileWriteError missing = WriteFileAtomically(dir.File("no/such/folder.txt"), "x");
  EXPECT_TRUE(missing);
  EXPECT_EQ(missing.operation, "create");
  EXPECT_FALSE(missing.Text().empty());

  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "precious");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(AtomicFile, ReplacedFileKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("mode.txt");
  ASSERT_FALSE(WriteFileAtomically(path, "a"));
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(WriteFileAtomically(path, "b"));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFile, FolderOf) {
  EXPECT_EQ(FolderOf("/home/pilot/flight.igc"), "/home/pilot");
  EXPECT_EQ(FolderOf("flight.igc"), "");
  EXPECT_EQ(FolderOf("/flight.igc"), "");
}

}  // namespace
}  // namespace trelvik
