// Qt's own (non-native) dialogs, so that filter, start folder and file choice behave alike everywhere.
#include "platform/qt/qt_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/paths.h"

namespace tarnwipe {
namespace {

QString DecodePath(const std::string& sPath) { return QFile::decodeName(QByteArray::fromStdString(sPath)); }

std::string EncodePath(const QString& sPath) { return QFile::encodeName(sPath).toStdString(); }

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

std::string QtDialogs::ChooseFile(const std::string& sTitle, const std::string& sStartFolder,
                                  const std::string& sFilter) {
  QFileDialog dialog(m_pOwner, QString::fromStdString(sTitle), DecodePath(sStartFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks |
                    QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Shown as the filter's own text; the hidden last pattern "*" makes it match every name,
  // with or without a dot.
  dialog.setNameFilter(QString::fromStdString(sFilter) + QStringLiteral(" (*)"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return EncodePath(dialog.selectedFiles().first());
}

std::string QtDialogs::ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) {
  FolderDialog dialog(m_pOwner, QString::fromStdString(sTitle), DecodePath(sStartFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
  dialog.setFileMode(QFileDialog::Directory);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QFileInfo chosen(dialog.selectedFiles().first());
  // A link to a folder names the folder it leads to, never the folder that holds the link.
  std::string sPath = EncodePath(chosen.isSymLink() && chosen.isDir() ? chosen.canonicalFilePath() : chosen.filePath());
  return chosen.isDir() ? paths::WithSeparator(sPath) : sPath;
}

}  // namespace tarnwipe
