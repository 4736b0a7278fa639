// The real disk for tests: a fresh temporary folder per test, removed with everything left in
// it, and small file-system images made with mkfs and loop-mounted for the life of a test.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarnwipe::test {

// The whole file in one read: images of hundreds of megabytes are scanned this way.
inline std::string ReadFile(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary | std::ios::ate);
  std::string sContent(in ? static_cast<size_t>(in.tellg()) : 0, '\0');
  in.seekg(0).read(sContent.data(), static_cast<std::streamsize>(sContent.size()));
  return sContent;
}

inline bool Exists(const std::string& sPath) {
  struct stat st {};
  return ::lstat(sPath.c_str(), &st) == 0;
}

// Runs a shell command quietly; true when it succeeded.
inline bool RunQuietly(const std::string& sCommand) {
  return std::system((sCommand + " >/dev/null 2>&1").c_str()) == 0;
}

// What a shell command printed, without its last line break.
inline std::string CommandOutput(const std::string& sCommand) {
  std::string sOut;
  if (FILE* pPipe = ::popen((sCommand + " 2>/dev/null").c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pPipe) != nullptr) sOut += buffer;
    ::pclose(pPipe);
  }
  while (!sOut.empty() && sOut.back() == '\n') sOut.pop_back();
  return sOut;
}

// The five characters after the fifth of a name, in UTF-16 as FAT, exFAT and NTFS keep names:
// a piece a raw scan finds even where a long name is kept in several entries.
inline std::string WidePiece(const std::string& sName) {
  std::string sWide;
  for (const char c : sName.substr(5, 5)) sWide += std::string{c, '\0'};
  return sWide;
}

// Writes lSize bytes of a new marker, repeated, to sPath at lOffset (after a hole, when lOffset is
// not 0), making its folders; returns the marker when it fits, for a scan of the raw disk.
inline std::string WriteMarked(const std::string& sPath, size_t lSize, off_t lOffset = 0) {
  static std::mt19937_64 random{std::random_device{}()};
  const std::string sMarker = "TARNWIPE-MARKER:" + std::to_string(random()) + "|";
  std::string sContent;
  while (sContent.size() < lSize) sContent += sMarker;
  std::filesystem::create_directories(std::filesystem::path(sPath).parent_path());
  const int fd = ::open(sPath.c_str(), O_CREAT | O_WRONLY, 0600);
  const bool bWritten = ::pwrite(fd, sContent.data(), lSize, lOffset) == static_cast<ssize_t>(lSize);
  ::close(fd);
  return bWritten && lSize >= sMarker.size() ? sMarker : std::string();
}

class TempFolder {
 public:
  TempFolder() {
    std::string sTemplate = std::filesystem::temp_directory_path().string() + "/tarnwipe-test-XXXXXX";
    m_sPath = std::string(::mkdtemp(sTemplate.data())) + "/";
  }
  ~TempFolder() {
    std::error_code ec;
    // Permissions a test took away must not keep its leftovers from going.
    for (auto it = std::filesystem::recursive_directory_iterator(m_sPath, ec); it != decltype(it)(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
    }
    std::filesystem::remove_all(m_sPath, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the separator.
  const std::string& Path() const { return m_sPath; }
  // Writes a file (and its folders) below the folder; returns its full path.
  std::string Write(const std::string& sRelative, const std::string& sContent) const {
    std::filesystem::create_directories(std::filesystem::path(m_sPath + sRelative).parent_path());
    std::ofstream(m_sPath + sRelative, std::ios::binary) << sContent;
    return m_sPath + sRelative;
  }
  // Makes a folder (and its parents); returns its path ending in the separator.
  std::string MakeFolder(const std::string& sRelative) const {
    std::filesystem::create_directories(m_sPath + sRelative);
    return m_sPath + sRelative + (sRelative.ends_with('/') ? "" : "/");
  }

 private:
  std::string m_sPath;
};

// A small file-system image of the given type, mounted as a desktop mounts a stick: ext4, XFS
// and btrfs by the kernel (made with sMakeOptions, mounted with the extra options sOptions,
// ",name=value..."), NTFS through
// ntfs-3g, exFAT through exfat-fuse on a loop device, FAT32 ("vfat") through fusefat. Ready()
// tells whether the image could be made and mounted here, Why() why not. The image is a new
// file in the test's folder unless sImage names one that already exists.
class LoopMount {
 public:
  LoopMount(const TempFolder& temp, const std::string& sType, int iMegabytes, const std::string& sOptions = "",
            const std::string& sMakeOptions = "", const std::string& sImage = "")
      : m_sType(sType), m_sImage(sImage.empty() ? temp.Path() + sType + ".img" : sImage), m_sMount(temp.MakeFolder(sType + "-mnt")),
        m_sOptions(sOptions), m_sMakeOptions(sMakeOptions) {
    if (::geteuid() != 0) {
      m_sWhy = "needs root to mount an image";
    } else if (!RunQuietly("truncate -s " + std::to_string(iMegabytes) + "M " + m_sImage) || !RunQuietly(MakeCommand())) {
      m_sWhy = "the tools to make " + sType + " are missing or failed";
    } else if (!Remount(false)) {
      m_sWhy = "cannot mount " + sType + " here";
    }
  }
  ~LoopMount() { Unmount(); }

  bool Ready() const { return m_bMounted; }
  const std::string& Why() const { return m_sWhy; }
  const std::string& Root() const { return m_sMount; }
  bool Remount(bool bReadOnly) {
    Unmount();
    const std::string sRo = bReadOnly ? " -o ro " : " ";
    if (m_sType == "ntfs") return m_bMounted = RunQuietly("ntfs-3g" + sRo + m_sImage + " " + m_sMount);
    if (m_sType == "vfat") return m_bMounted = RunQuietly("fusefat -o " + std::string(bReadOnly ? "ro " : "rw+ ") + m_sImage + " " + m_sMount);
    if (m_sType == "exfat") {
      m_sDevice = CommandOutput("losetup -f --show " + m_sImage);
      return m_bMounted = !m_sDevice.empty() && RunQuietly("mount.exfat-fuse" + sRo + m_sDevice + " " + m_sMount);
    }
    return m_bMounted = RunQuietly("mount -o loop" + m_sOptions + (bReadOnly ? ",ro " : " ") + m_sImage + " " + m_sMount);
  }
  // Unmounts and, for a FUSE mount, waits until its daemon has written everything and gone.
  void Unmount() {
    if (m_bMounted) RunQuietly("umount " + m_sMount);
    m_bMounted = false;
    const std::string sUser = m_sDevice.empty() ? m_sImage : m_sDevice;
    for (int i = 0; i < 100 && RunQuietly("pgrep -f '^[^ ]*(ntfs-3g|fusefat|mount.exfat).* " + sUser + " '"); ++i) ::usleep(100000);
    if (!m_sDevice.empty()) RunQuietly("losetup -d " + m_sDevice);
    m_sDevice.clear();
  }
  // Unmounts; then the raw bytes hold sControl (a control's marker or name, gone without erasing,
  // which the scan must find) and none of asGone.
  void ExpectOnlyTheControl(const std::string& sControl, const std::vector<std::string>& asGone) {
    Unmount();
    const std::string sRaw = RawImage();
    EXPECT_NE(sRaw.find(sControl), std::string::npos) << "the control is not found; the scan cannot tell";
    for (const std::string& sPart : asGone) EXPECT_TRUE(sPart.empty() || sRaw.find(sPart) == std::string::npos) << sPart;
  }
  // The raw bytes of the image, to be searched after Unmount, and its path.
  std::string RawImage() const { return ReadFile(m_sImage); }
  const std::string& ImagePath() const { return m_sImage; }

 private:
  std::string MakeCommand() const {
    if (m_sType == "ntfs") return "mkfs.ntfs -q -F -f " + m_sImage;
    if (m_sType == "exfat") return "mkfs.exfat " + m_sMakeOptions + " " + m_sImage;
    if (m_sType == "vfat") return "mkfs.vfat -F 32 " + m_sImage;
    return "mkfs." + m_sType + " -q " + m_sMakeOptions + " " + m_sImage;
  }
  std::string m_sType, m_sImage, m_sMount, m_sOptions, m_sMakeOptions, m_sDevice, m_sWhy;
  bool m_bMounted = false;
};

}  // namespace tarnwipe::test
