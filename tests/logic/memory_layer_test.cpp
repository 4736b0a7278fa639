// The memory layer passes the suite every file layer passes.
#include <memory>

#include "file_layer_suite.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class MemoryLayer {
 public:
  using Fs = MemoryFileSystem;
  explicit MemoryLayer(MemoryFileSystem& fs) : m_fs(fs) {
    m_fs.AddFolder(Path(""));
    m_fs.lRoom = 1 << 20;
  }

  std::string Path(const std::string& sRelative) const { return Native("/layer/" + sRelative); }
  void Write(const std::string& sRelative, const std::string& sContent) { m_fs.AddFile(Path(sRelative), sContent); }
  void MakeFolder(const std::string& sRelative) { m_fs.AddFolder(Path(sRelative)); }
  std::string Read(const std::string& sRelative) const { return m_fs.Find(Path(sRelative))->sContent; }
  bool Exists(const std::string& sRelative) const { return m_fs.Find(Path(sRelative)) != nullptr; }
  void HardLink(const std::string& sFile, const std::string& sName) {
    Write(sName, Read(sFile));
    m_fs.nodes[Path(sFile)].iLinks = m_fs.nodes[Path(sName)].iLinks = 2;
  }
  // Another program holds the file while the result lives.
  std::shared_ptr<void> Hold(const std::string& sRelative) {
    m_fs.nodes[Path(sRelative)].bRefused = true;
    return {nullptr, [this, sRelative](void*) { m_fs.nodes[Path(sRelative)].bRefused = false; }};
  }

 private:
  MemoryFileSystem& m_fs;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileLayerTest, MemoryLayer);

}  // namespace
}  // namespace tarnwipe::test
