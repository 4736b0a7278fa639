// The real window and dialogs, offscreen: keyboard rules, the dialogs, and one erase clicked through.
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <set>

#include "capabilities.h"
#include "disk.h"
#include "fakes.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

class EraseWindowTest : public QObject {
  Q_OBJECT

  struct Rig {
    PosixFileSystem fs;
    PosixClock clock;
    ScriptedDialogs dialogs;
    FakeSpecialFolders folders;
    EraseWindow window;
    FrmErase form{window, fs, clock, dialogs, folders, Separators()};
    Rig() {
      window.Attach(form);
      form.Form_Load();
      window.ShowCentred();
    }
  };

  // Chooses sName in the next file dialog once it is open (cancels it when sName is empty).
  static std::string Choose(QtDialogs& dialogs, bool bFolder, const std::string& sStart, const std::string& sName) {
    QTimer::singleShot(0, [sName] {
      auto* pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(pDialog != nullptr);
      QCOMPARE(pDialog->findChild<QFileSystemModel*>()->nameFilters(), QStringList{QStringLiteral("*")});
      pDialog->selectFile(QString::fromStdString(sName));
      QMetaObject::invokeMethod(pDialog, sName.empty() ? "reject" : "accept");
    });
    if (bFolder) return dialogs.ChooseFolder("Select a map to erase", sStart);
    const std::vector<std::string> asChosen = dialogs.ChooseFiles("Tarnwipe: select a file to erase", sStart, "All Files (*.*)");
    return asChosen.empty() ? std::string() : asChosen.front();
  }

 private slots:
  void PassCountTakesDigitsUpToTwentyFiveAndEscAnywhereAsksToStop() {
    Rig rig;
    QLineEdit* pTimes = rig.window.txtTimes();
    pTimes->clear();
    QTest::keyClicks(pTimes, "3a -0");
    QCOMPARE(pTimes->text(), QStringLiteral("25"));
    QTest::keyClick(pTimes, Qt::Key_Backspace);
    QTest::keyClicks(pTimes, "4");
    QCOMPARE(pTimes->text(), QStringLiteral("24"));
    for (QWidget* pTarget : {static_cast<QWidget*>(pTimes), static_cast<QWidget*>(rig.window.txtMsg())}) {
      QTest::keyClick(pTarget, Qt::Key_Escape);
      QVERIFY(rig.form.Record().bStop);
      QTest::keyClick(pTarget, Qt::Key_Q);
      QVERIFY(!rig.form.Record().bStop);
    }
  }

  void MapErasedByClickingThrough() {
    TempFolder temp;
    const std::string sMap = temp.MakeFolder("holiday");
    temp.Write("holiday/one.txt", std::string(2048, '1'));
    temp.Write("holiday/inner/two.txt", std::string(1024, '2'));
    Rig rig;
    rig.dialogs.sChoice = sMap;
    QTest::mouseClick(rig.window.btnMap(), Qt::LeftButton);
    QTest::mouseClick(rig.window.btnErase(), Qt::LeftButton);
    QVERIFY(!Exists(sMap));
    const QString sText = rig.window.txtMsg()->toPlainText();
    QVERIFY2(sText.startsWith(QStringLiteral("Erased 2 file(s) and 2 folder(s);  3.00 kBytes in ")), qPrintable(sText));
    QVERIFY(!rig.window.btnErase()->isEnabled() && rig.window.btnMap()->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  // A slip in the pattern list widens nothing; hidden and dot folders are erased like any other;
  // a folder the user may not read is named. Run without the power to read every folder.
  void PatternListAndHiddenFoldersThroughTheWindow() {
    TempFolder temp;
    const std::string sMap = temp.MakeFolder("map");
    for (const char* pName : {"a.txt", "b.log", "c.bin", ".git/objects/x", ".hidden/y.txt", "locked/z.txt"})
      temp.Write(std::string("map/") + pName, "x");
    const std::string sLocked = sMap + "locked/";
    if (::chown(sLocked.c_str(), 65534, 65534) != 0 || ::chmod(sLocked.c_str(), 0700) != 0)
      QSKIP("needs root to give a folder to another user");
    auto pUser = std::make_unique<WithoutCapabilities>(std::initializer_list<int>{CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH});
    QVERIFY(pUser->Dropped());
    Rig rig;
    std::vector<std::string> asLeft;
    int iNamed = 0;
    for (const char* pPattern : {"*.txt,", "*.*"}) {
      rig.dialogs.sChoice = sMap;
      QTest::mouseClick(rig.window.btnMap(), Qt::LeftButton);
      rig.window.txtSpec()->setText(QString::fromLatin1(pPattern));
      QTest::mouseClick(rig.window.btnErase(), Qt::LeftButton);
      iNamed += rig.window.MessageText().find("Could not read map " + sLocked) != std::string::npos;
      std::set<std::string> left;
      const auto options = std::filesystem::directory_options::skip_permission_denied;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(sMap, options))
        left.insert(entry.path().string().substr(sMap.size()));
      std::string sLeft;
      for (const std::string& sName : left) sLeft += sName + " ";
      asLeft.push_back(sLeft);
    }
    pUser.reset();
    QCOMPARE(iNamed, 2);
    QCOMPARE(asLeft, (std::vector<std::string>{".git .git/objects .git/objects/x b.log c.bin locked ", "locked "}));
  }

  // A file or folder dropped anywhere on the window becomes the target; several at once get a
  // notice; during a run the window takes no drop.
  void DroppedFileOrFolderBecomesTheTarget() {
    TempFolder temp;
    const QUrl map = QUrl::fromLocalFile(QString::fromStdString(temp.MakeFolder("dropped")));
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(temp.Write("dropped/a.txt", "a")));
    Rig rig;
    const auto drop = [&](QWidget* pOnto, const QList<QUrl>& urls) {
      QMimeData data;
      data.setUrls(urls);
      QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(pOnto, &enter);
      QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      if (enter.isAccepted()) QApplication::sendEvent(pOnto, &dropped);
      return enter.isAccepted();
    };
    QVERIFY(drop(rig.window.txtMsg()->viewport(), {map}));
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase map dropped"));
    QVERIFY(drop(rig.window.txtSpec(), {file}));
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase file a.txt"));
    QCOMPARE(rig.window.txtSpec()->text(), QStringLiteral("*.*"));
    QVERIFY(drop(&rig.window, {map, file}));
    QCOMPARE(rig.dialogs.boxes.back(), std::string("Select one file or one map at a time!"));
    rig.form.Record().bRunning = true;
    QVERIFY(!drop(rig.window.btnFile(), {map}));
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase file a.txt"));
  }

  // The file dialog shows names without a dot; in the folder dialog a file or a link names the
  // folder it leads to.
  void DialogsChooseWhatTheUserPoints() {
    TempFolder temp;
    temp.Write("noext", "n");
    const std::string sFile = temp.Write("inside/file.txt", "f");
    QVERIFY(::symlink((temp.Path() + "inside").c_str(), (temp.Path() + "to-inside").c_str()) == 0);
    QWidget owner;
    QtDialogs dialogs(&owner);
    QCOMPARE(Choose(dialogs, false, temp.Path(), "noext"), temp.Path() + "noext");
    QCOMPARE(Choose(dialogs, true, temp.Path(), sFile), sFile);
    QCOMPARE(Choose(dialogs, true, temp.Path(), temp.Path() + "to-inside"), temp.Path() + "inside/");
    QCOMPARE(Choose(dialogs, true, temp.Path(), ""), std::string());
  }
};

}  // namespace tarnwipe::test

QTEST_MAIN(tarnwipe::test::EraseWindowTest)
#include "erase_window_test.moc"
