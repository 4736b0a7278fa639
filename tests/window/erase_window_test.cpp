// The real window and dialogs, offscreen: keyboard rules, the dialogs, and one erase clicked through.
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>


#include "disk.h"
#include "fakes.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/single_window.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

// Starts the program once per argument list, byte for byte, all at once, and tells whether every
// start ended by itself within a second or two: it handed its items over and opened no window.
bool HandedOver(const std::vector<std::vector<std::string>>& starts) {
  std::vector<pid_t> pids(starts.size());
  for (size_t i = 0; i < starts.size(); ++i) {
    std::vector<char*> argv{const_cast<char*>(TARNWIPE_PROGRAM)};
    for (const std::string& sArg : starts[i]) argv.push_back(const_cast<char*>(sArg.c_str()));
    argv.push_back(nullptr);
    ::posix_spawn(&pids[i], TARNWIPE_PROGRAM, nullptr, nullptr, argv.data(), environ);
  }
  bool bAll = true;
  for (const pid_t pid : pids) {
    int iStatus = -1;
    for (int i = 0; i < 200 && ::waitpid(pid, &iStatus, WNOHANG) == 0; ++i) QTest::qWait(10);
    if (!WIFEXITED(iStatus) || WEXITSTATUS(iStatus) != 0) bAll = false, ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
  }
  return bAll;
}

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
  // Also run at QT_SCALE_FACTOR 1.5 and 2, where no label may clip its text either.
  void PassCountTakesDigitsUpToTwentyFiveAndEscAnywhereAsksToStop() {
    Rig rig;
    for (QLabel* pLabel : rig.window.findChildren<QLabel*>())
      QVERIFY2(pLabel == rig.window.lblProgress() || pLabel->sizeHint().width() <= pLabel->width(), qPrintable(pLabel->text()));
    QLineEdit* pTimes = rig.window.txtTimes();
    pTimes->clear();
    QTest::keyClicks(pTimes, "3a -0");
    QCOMPARE(pTimes->text(), QStringLiteral("25"));
    QTest::keyClick(pTimes, Qt::Key_Backspace);
    QTest::keyClicks(pTimes, "4");
    QCOMPARE(pTimes->text(), QStringLiteral("24"));
    for (QWidget* pTarget : {static_cast<QWidget*>(pTimes), static_cast<QWidget*>(rig.window.txtMsg())}) {
      QTest::keyClick(pTarget, Qt::Key_Escape);
      QVERIFY(rig.form.StopRequested());
      QTest::keyClick(pTarget, Qt::Key_Q);
      QVERIFY(!rig.form.StopRequested());
    }
  }

  // Items dropped anywhere on the window become the target, one or several; a name that is not
  // valid text is taken by its bytes, never as its look-alike; during a run nothing is taken.
  void DroppedItemsBecomeTheTargetByTheirBytes() {
    TempFolder temp;
    const std::string sMap = temp.MakeFolder("dropped");
    const std::string sFile = temp.Write("dropped/a.txt", "a");
    const std::string sOdd = temp.Write("\xff", "odd"), sLookAlike = temp.Write("\xef\xbf\xbd", "look-alike");
    Rig rig;
    const auto drop = [&](QWidget* pOnto, const QByteArray& uriList) {
      QMimeData data;
      data.setData(QStringLiteral("text/uri-list"), uriList);
      QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(pOnto, &enter);
      QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      if (enter.isAccepted()) QApplication::sendEvent(pOnto, &dropped);
      return enter.isAccepted();
    };
    const QByteArray map = "file://" + QByteArray::fromStdString(sMap) + "\r\n";
    QVERIFY(drop(rig.window.txtMsg()->viewport(), map));
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase map dropped"));
    QVERIFY(drop(rig.window.txtSpec(), "# a comment\r\nfile://localhost" + QByteArray::fromStdString(sFile)));
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase file a.txt"));
    QCOMPARE(rig.window.txtSpec()->text(), QStringLiteral("*.*"));
    QVERIFY(drop(&rig.window, "file://" + QByteArray::fromStdString(temp.Path()) + "%FF\r\n" + map + "http://host/x\r\n"));
    QCOMPARE(rig.dialogs.boxes.back(), std::string("File or map not found!\r\n\r\nhttp://host/x"));
    QCOMPARE(rig.form.Selection(), (std::vector<Target>{{sOdd, TargetKind::kFile}, {sMap, TargetKind::kMap}}));
    rig.dialogs.onQuestion = [&] { QVERIFY(!drop(rig.window.btnFile(), map)); };
    QTest::mouseClick(rig.window.btnErase(), Qt::LeftButton);
    QVERIFY(!Exists(sOdd) && !Exists(sMap) && ReadFile(sLookAlike) == "look-alike");
    QVERIFY2(rig.window.MessageText().starts_with("Erased 2 file(s) and 1 folder(s);  0.00 kBytes in "), rig.window.MessageText().c_str());
    QVERIFY(!rig.window.btnErase()->isEnabled() && rig.window.btnMap()->isEnabled() && QApplication::overrideCursor() == nullptr);
  }

  // Eight starts of the program with one item each, as a file manager makes for a selection,
  // hand their items to the open window, each ending at once; one Erase erases them all, a file
  // inside a chosen map once. A start during the run is kept out of it and chosen afterwards.
  void StartsHandTheirItemsToTheOpenWindow() {
    TempFolder temp;
    qputenv("DISPLAY", QByteArray::fromStdString(":tarnwipe-test-" + std::to_string(::getpid())));
    std::vector<std::string> asItems;
    for (const char* pName : {"f1", "f2", "f3", "f4", "\xff", "m1/s/b"}) asItems.push_back(temp.Write(pName, pName));
    const std::string sLookAlike = temp.Write("\xef\xbf\xbd", "look-alike");
    for (const char* pName : {"m1/a", "m2/c", "m2/d"}) temp.Write(pName, pName);
    asItems.push_back(temp.Path() + "m1");
    asItems.push_back(temp.Path() + "m2");
    Rig rig;
    SingleWindow single;
    QVERIFY(!single.HandToOpenWindow({}));
    single.Receive([&](const std::vector<std::string>& asTargets) { rig.form.HandOff(asTargets); });
    std::vector<std::vector<std::string>> starts;
    for (const std::string& sItem : asItems) starts.push_back({sItem});
    QVERIFY(HandedOver(starts));
    QCOMPARE(rig.form.Selection().size(), asItems.size());
    rig.dialogs.onQuestion = [&] {
      QVERIFY(HandedOver({{temp.Write("g1", "g"), temp.Write("g2", "g")}}));
      QTRY_VERIFY(rig.window.MessageText().find("Not part of this run") != std::string::npos);
    };
    QTest::mouseClick(rig.window.btnErase(), Qt::LeftButton);
    for (const std::string& sItem : asItems) QVERIFY2(!Exists(sItem), sItem.c_str());
    const std::string sText = rig.window.MessageText();
    QVERIFY2(sText.starts_with("Handed over during the run: not part of it, and chosen now.\r\nFile: " + temp.Path() + "g1\r\n") &&
                 sText.find("Erased 9 file(s) and 3 folder(s);") != std::string::npos && ReadFile(sLookAlike) == "look-alike",
             sText.c_str());
    QCOMPARE(rig.form.Selection(), (std::vector<Target>{{temp.Path() + "g1", TargetKind::kFile}, {temp.Path() + "g2", TargetKind::kFile}}));
    QVERIFY(Exists(temp.Path() + "g1") && rig.window.btnErase()->isEnabled());
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
    // A name that is not valid text reaches the dialog as its look-alike: refused, never taken
    // for the look-alike; the look-alike alone is named faithfully.
    const std::string sLookAlike = temp.Write("odd/\xef\xbf\xbd", "l");
    QCOMPARE(Choose(dialogs, false, temp.Path() + "odd/", sLookAlike), sLookAlike);
    temp.Write("odd/\xff", "o");
    QCOMPARE(Choose(dialogs, false, temp.Path() + "odd/", sLookAlike), Dialogs::Unnamable());
    QCOMPARE(Choose(dialogs, true, temp.Path(), temp.Path() + "odd/\xff"), Dialogs::Unnamable());
  }
};

}  // namespace tarnwipe::test

QTEST_MAIN(tarnwipe::test::EraseWindowTest)
#include "erase_window_test.moc"
