// Cutting paths where the answer depends on what the path names: a folder, a file, a link.
#include "walker/path_helpers.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

TEST(PathHelpers, FolderNameFileNameAndFolderPart) {
  MemoryFileSystem fs;
  const std::string sData = fs.AddFolder("/home/Data");
  const std::string sReport = fs.AddFile(sData + "report.txt", "r");
  fs.AddFile("/home/linked", "", kAttrArchive | kAttrLink);

  EXPECT_EQ(paths::ExtractFolder(fs, "/home/Data"), "Data");
  EXPECT_EQ(paths::ExtractFolder(fs, "/"), "/");
  EXPECT_EQ(paths::ExtractFolder(fs, sReport), "");
  EXPECT_EQ(paths::ExtractFolder(fs, "/home/linked/"), "");

  EXPECT_EQ(paths::ExtractName(fs, sReport), "report.txt");
  EXPECT_EQ(paths::ExtractName(fs, "/nope/archive.tar.gz", true), "archive.tar");
  EXPECT_EQ(paths::ExtractName(fs, "/nope/.profile", true), "");
  EXPECT_EQ(paths::ExtractName(fs, sData), "");
  EXPECT_EQ(paths::ExtractName(fs, "/home/linked"), "linked");

  EXPECT_EQ(paths::ExtractPath(fs, sReport), sData);
  EXPECT_EQ(paths::ExtractPath(fs, "/home/Data"), sData);
  EXPECT_EQ(paths::ExtractPath(fs, "/home/linked"), "/home/");
  EXPECT_EQ(paths::ExtractPath(fs, "report.txt"), "");
  EXPECT_EQ(paths::QualifyFolder(fs, "/nope"), "/nope");
}

}  // namespace
}  // namespace tarnwipe::test
