// Erasing the Trash on real images: files, a folder and a link put in the Trash by trash-put on
// an ext4 disk holding the home Trash (and a file an emptying left behind) and on a FAT32 stick
// with a Trash of its own. After a run
// through the window logic, which shows each item by where it came from, no content and no
// original path is on either raw image, fls lists no trashed name on the stick, while controls
// removed by rm are found; a shared .Trash without the sticky bit is passed by.
#include <cstdlib>

#include "disk.h"
#include "form_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"

namespace tarnwipe::test {
namespace {

class TrashTest : public FormFixture<PosixFileSystem> {
 protected:
  // Puts sPath in the Trash as a desktop does.
  static bool Trash(const std::string& sPath) { return RunQuietly("trash-put '" + sPath + "'"); }

  TempFolder temp;
};

TEST_F(TrashTest, TrashedItemsAndTheirRecordsLeaveNothingOnEitherDisk) {
  LoopMount home(temp, "ext4", 64), stick(temp, "vfat", 64);
  if (!home.Ready() || !stick.Ready()) GTEST_SKIP() << "Trash scan skipped: " << home.Why() << stick.Why();
  if (!RunQuietly("trash-put --version")) GTEST_SKIP() << "Trash scan skipped: trash-put is missing";
  const PosixSpecialFolders real;
  ::setenv("XDG_DATA_HOME", (home.Root() + "data").c_str(), 1);
  folders.isTrashFolder = [&](const std::string& sFolder, bool bOwn) { return real.IsTrashFolder(sFolder, bOwn); };
  folders.trash = real.Trash();
  folders.trash.asTops = {home.Root(), stick.Root()};  // not the Trash folders of this machine's own disks
  std::vector<std::string> asGone;
  for (const auto& [pName, lSize] : {std::pair<const char*, size_t>{"divorcesettlement.txt", 3000}, {"offshorefolder/taxreturns.doc", 70000},
                                     {"offshorefolder/.passwordlist", 300}}) {
    asGone.push_back(WriteMarked(home.Root() + pName, lSize));
  }
  const std::string sTheirs = temp.Write("theirs.txt", "outside the Trash");
  ASSERT_EQ(::symlink(sTheirs.c_str(), (home.Root() + "linktotheirs").c_str()), 0);
  asGone.push_back(WriteMarked(stick.Root() + "medicalrecords.txt", 1500));
  // A Trash that any user could have swapped in.
  const std::string sUnsafe = WriteMarked(home.Root() + ".Trash/" + folders.trash.sUser + "/files/unsafe.txt", 400);
  const std::string sHomeControl = WriteMarked(home.Root() + "controlremovedbyrm.bin", 700);
  const std::string sStickControl = WriteMarked(stick.Root() + "controlremovedbyrm.bin", 700);
  for (const char* pName : {"divorcesettlement.txt", "offshorefolder", "linktotheirs"}) ASSERT_TRUE(Trash(home.Root() + pName)) << pName;
  ASSERT_TRUE(Trash(stick.Root() + "medicalrecords.txt"));
  // What an emptying of the Trash left half deleted, as GNOME leaves it after a logout.
  asGone.push_back(WriteMarked(home.Root() + "data/Trash/expunged/3512940571/bankstatements.pdf", 500));
  ASSERT_TRUE(Exists(stick.Root() + ".Trash-" + folders.trash.sUser + "/info/medicalrecords.txt.trashinfo"));
  // Where they came from, as their records name them.
  asGone.push_back(home.Root() + "divorcesettlement.txt");
  asGone.push_back(stick.Root() + "medicalrecords.txt");
  ::sync();

  form.TakeTargets({kTrashItem});
  EXPECT_EQ(view.sEraseCaption, "&Erase the Trash");
  form.btnErase_Click();
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(LastBox(), "Erase the 5 items in the Trash (73.54 kBytes on 2 disks)? They cannot be brought back.\r\n\r\n"
                       "(Press <Esc> to stop!)");
  EXPECT_EQ(Counts(), "Erased 10 file(s) and 2 folder(s)") << view.sText;
  // Each item and record is shown by where the item came from.
  for (const std::string& sLine : {"Erasing " + home.Root() + "divorcesettlement.txt  [3,000 bytes]", "Erasing files in " + home.Root() + "offshorefolder/",
                                   "Erasing the record of " + stick.Root() + "medicalrecords.txt  [70 bytes]"})
    EXPECT_TRUE(view.Has(sLine)) << sLine;
  EXPECT_TRUE(view.Has("Skipped the Trash folder " + home.Root() + ".Trash/: it is no folder with the sticky bit")) << view.sText;
  for (const std::string& sTrash : {home.Root() + "data/Trash/", stick.Root() + ".Trash-" + folders.trash.sUser + "/"}) {
    for (const char* pPart : {"files", "info", "expunged"}) {
      EXPECT_TRUE(!Exists(sTrash + pPart) || std::filesystem::is_empty(sTrash + pPart)) << sTrash << pPart;
    }
  }
  EXPECT_EQ(ReadFile(sTheirs), "outside the Trash");
  ASSERT_EQ(::unlink((home.Root() + "controlremovedbyrm.bin").c_str()), 0);
  ASSERT_EQ(::unlink((stick.Root() + "controlremovedbyrm.bin").c_str()), 0);
  home.ExpectOnlyTheControl(sHomeControl, asGone);
  EXPECT_NE(home.RawImage().find(sUnsafe), std::string::npos) << "the unsafe Trash was not passed by";
  stick.ExpectOnlyTheControl(sStickControl, asGone);
  const std::string sListed = CommandOutput("fls -r -d " + stick.ImagePath());
  EXPECT_EQ(sListed.find("medicalrecords"), std::string::npos) << sListed.substr(0, 2000);
  EXPECT_TRUE(!RunQuietly("fls -V") || sListed.find("controlremovedbyrm") != std::string::npos) << "fls cannot tell";
}

}  // namespace
}  // namespace tarnwipe::test
