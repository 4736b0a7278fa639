// What a directory walk tells its receiver, and what the receiver answers.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwipe {

class DirDrillEvents {
 public:
  virtual ~DirDrillEvents() = default;

  // A file that passed the pattern list and the attribute mask. The receiver sets lBytes to the
  // bytes the file counts for, or to a negative number when it did not process the file; bCancel
  // is not examined afterwards.
  virtual void NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel) = 0;

  // A folder about to be listed; bCancel true skips it and everything inside it.
  virtual void NewFolder(const std::string& sFolderSpec, bool& bCancel) = 0;

  // A limit of the walk left lFiles matching files of the folder, or lFolders of its subfolders
  // and all they hold, unlisted.
  virtual void LeftOver(const std::string& sFolderSpec, int32_t lFiles, int32_t lFolders) = 0;

  // The walk is over.
  virtual void Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) = 0;
};

}  // namespace tarnwipe
