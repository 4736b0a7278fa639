// Path helpers and attribute words on a real temporary tree.
#include "walker/path_helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/posix/posix_file_system.h"
#include "temp_folder.h"
#include "walker/c_dir_drill.h"

namespace tarnwipe::test {
namespace {

class PathHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sData = temp.MakeFolder("Data");
    sReport = temp.Write("Data/report.txt", "r");
    sNope = temp.Path() + "Nope";
    ASSERT_EQ(::symlink(sData.c_str(), (temp.Path() + "linked").c_str()), 0);
  }

  TempFolder temp;
  PosixFileSystem fs;
  CDirDrill dd{fs, "/"};
  std::string sData, sReport, sNope;
};

TEST_F(PathHelpersTest, ExtractFolderNamesTheLastFolder) {
  EXPECT_EQ(dd.ExtractFolder(sData), "Data");
  EXPECT_EQ(dd.ExtractFolder(sData.substr(0, sData.size() - 1)), "Data");
  EXPECT_EQ(dd.ExtractFolder("/"), "/");
  EXPECT_EQ(dd.ExtractFolder(sReport), "");
  EXPECT_EQ(dd.ExtractFolder(sNope), "");
  EXPECT_EQ(dd.ExtractFolder(temp.Path() + "linked"), "");
  EXPECT_EQ(dd.ExtractFolder(temp.Path() + "linked/"), "");
  EXPECT_EQ(dd.ExtractFolder(""), "");
}

TEST_F(PathHelpersTest, ExtractNameCutsAfterTheLastSeparator) {
  EXPECT_EQ(dd.ExtractName(sReport), "report.txt");
  EXPECT_EQ(dd.ExtractName(sReport, true), "report");
  EXPECT_EQ(dd.ExtractName(sNope + "/archive.tar.gz", true), "archive.tar");
  EXPECT_EQ(dd.ExtractName("notes", true), "notes");
  EXPECT_EQ(dd.ExtractName("notes."), "notes.");
  EXPECT_EQ(dd.ExtractName(sNope + "/.profile", true), "");
  EXPECT_EQ(dd.ExtractName(sNope + "/.profile"), ".profile");
  EXPECT_EQ(dd.ExtractName(sData), "");
  EXPECT_EQ(dd.ExtractName(sNope + "/"), sNope + "/");
  EXPECT_EQ(dd.ExtractName(""), "");
  EXPECT_EQ(dd.ExtractName("/"), "");
  EXPECT_EQ(dd.ExtractName(temp.Path() + "linked"), "linked");
  EXPECT_EQ(dd.ExtractName(temp.Path() + "my caf\xc3\xa9 \xff.txt"), "my caf\xc3\xa9 \xff.txt");
}

TEST_F(PathHelpersTest, ExtractPathGivesTheFolderWithItsSeparator) {
  EXPECT_EQ(dd.ExtractPath(sReport), sData);
  EXPECT_EQ(dd.ExtractPath(sNope + "/report.txt"), sNope + "/");
  EXPECT_EQ(dd.ExtractPath(sData.substr(0, sData.size() - 1)), sData);
  EXPECT_EQ(dd.ExtractPath(sData), sData);
  EXPECT_EQ(dd.ExtractPath("report.txt"), "");
  EXPECT_EQ(dd.ExtractPath("/"), "/");
  EXPECT_EQ(dd.ExtractPath(temp.Path() + "linked"), temp.Path());
}

TEST_F(PathHelpersTest, QualifyFolderAppendsTheSeparatorToFoldersOnly) {
  EXPECT_EQ(paths::QualifyFolder(fs, sData.substr(0, sData.size() - 1)), sData);
  EXPECT_EQ(paths::QualifyFolder(fs, sData), sData);
  EXPECT_EQ(paths::QualifyFolder(fs, sNope), sNope);
  EXPECT_EQ(paths::QualifyFolder(fs, sReport), sReport);
  EXPECT_FALSE(paths::IsFolder(fs, ""));
}

TEST_F(PathHelpersTest, AttributeWordsFromTheEntryItself) {
  const std::string sReadOnly = temp.Write("ro", "x");
  ::chmod(sReadOnly.c_str(), 0444);
  const std::string sFifo = temp.Path() + "fifo";
  ::mkfifo(sFifo.c_str(), 0600);
  temp.Write(".hidden", "x");

  EXPECT_EQ(fs.GetAttributes(sReport), kAttrArchive);
  EXPECT_EQ(fs.GetAttributes(sReadOnly), kAttrArchive | kAttrReadOnly);
  EXPECT_EQ(fs.GetAttributes(temp.Path() + ".hidden"), kAttrArchive | kAttrHidden);
  EXPECT_EQ(fs.GetAttributes(sData), kAttrDirectory);
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "linked/"), kAttrArchive | kAttrLink);
  EXPECT_EQ(fs.GetAttributes(sFifo), kAttrSystem);
  EXPECT_EQ(fs.GetAttributes(sNope), -1);
  EXPECT_EQ(fs.GetAttributes(""), -1);
}

TEST_F(PathHelpersTest, FileTextReadsTheWholeFile) {
  EXPECT_EQ(dd.FileText(sReport), "r");
  EXPECT_EQ(dd.FileText(sNope + "/x.txt"), "");
}

}  // namespace
}  // namespace tarnwipe::test
