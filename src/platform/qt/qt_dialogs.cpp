// Qt's own (non-native) dialogs, so that filter, start folder and file choice behave alike everywhere.
#include "platform/qt/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include <filesystem>

#include "paths/path_text.h"

namespace tarnwipe {
namespace {

QString DecodePath(const std::string& sPath) { return QFile::decodeName(QByteArray::fromStdString(sPath)); }

std::string EncodePath(const QString& sPath) { return QFile::encodeName(sPath).toStdString(); }

// True when the bytes a chosen path encodes to name the entry the dialog listed. A name that is
// not valid UTF-8 reaches the dialog with U+FFFD in place of its bytes, and encoding cannot bring
// them back: it would name another entry, or none. So every part holding U+FFFD must be the one
// entry of its folder that reads so, with exactly the bytes encoding gives.
bool NamedFaithfully(const QString& sPath) {
  if (!sPath.contains(QChar::ReplacementCharacter)) return true;
  std::string sFolder = "/";
  for (const QString& sPart : sPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    const std::string sBytes = EncodePath(sPart);
    if (sPart.contains(QChar::ReplacementCharacter)) {
      int iReadingSo = 0;
      bool bExact = false;
      std::error_code ec;
      for (const auto& entry : std::filesystem::directory_iterator(sFolder, ec)) {
        const std::string sName = entry.path().filename().string();
        if (QFile::decodeName(QByteArray::fromStdString(sName)) != sPart) continue;
        ++iReadingSo;
        bExact = bExact || sName == sBytes;
      }
      if (ec || iReadingSo != 1 || !bExact) return false;
    }
    sFolder += sBytes + "/";
  }
  return true;
}

std::string Faithful(const QString& sPath) { return NamedFaithfully(sPath) ? EncodePath(sPath) : Dialogs::Unnamable(); }

// A folder chooser that lists files too and takes a chosen file as naming its folder.
class FolderDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && QFileInfo(files.first()).isFile()) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }
};

}  // namespace

int32_t QtDialogs::MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) {
  QMessageBox box(m_pOwner);
  box.setWindowTitle(QString::fromStdString(sTitle));
  box.setText(QString::fromStdString(sText));
  if ((lStyle & kStyleYesNo) != 0) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
  }
  box.setIcon((lStyle & kStyleCritical) != 0 ? QMessageBox::Critical : QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return kAnswerOk;
}

std::vector<std::string> QtDialogs::ChooseFiles(const std::string& sTitle, const std::string& sStartFolder,
                                                const std::string& sFilter) {
  QFileDialog dialog(m_pOwner, QString::fromStdString(sTitle), DecodePath(sStartFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks |
                    QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Shown as the filter's own text; the hidden last pattern "*" makes it match every name,
  // with or without a dot.
  dialog.setNameFilter(QString::fromStdString(sFilter) + QStringLiteral(" (*)"));
  if (dialog.exec() != QDialog::Accepted) return {};
  std::vector<std::string> asChosen;
  for (const QString& sFile : dialog.selectedFiles()) asChosen.push_back(Faithful(sFile));
  return asChosen;
}

std::string QtDialogs::ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) {
  FolderDialog dialog(m_pOwner, QString::fromStdString(sTitle), DecodePath(sStartFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
  dialog.setFileMode(QFileDialog::Directory);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QFileInfo chosen(dialog.selectedFiles().first());
  // A link to a folder names the folder it leads to, never the folder that holds the link.
  std::string sPath = Faithful(chosen.isSymLink() && chosen.isDir() ? chosen.canonicalFilePath() : chosen.filePath());
  return chosen.isDir() && sPath != Unnamable() ? paths::WithSeparator(sPath) : sPath;
}

int QtDialogs::ChooseFromMenu(const std::vector<std::string>& asItems) {
  QMenu menu(m_pOwner);
  for (size_t i = 0; i < asItems.size(); ++i) menu.addAction(QString::fromStdString(asItems[i]))->setData(static_cast<int>(i));
  const QAction* pChosen = menu.exec(QCursor::pos());
  return pChosen == nullptr ? -1 : pChosen->data().toInt();
}

}  // namespace tarnwipe
