// The real window and dialogs, offscreen: keyboard rules, the dialogs, and one erase clicked through.
#include <unistd.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "fake_seams.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "temp_folder.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

class EraseWindowTest : public QObject {
  Q_OBJECT

 private:
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

  // Runs fCheck on the next modal dialog once it is open, then closes it.
  template <typename Check>
  static void OnNextDialog(Check fCheck) {
    QTimer::singleShot(0, [fCheck] {
      auto* pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(pDialog != nullptr);
      fCheck(*pDialog);
    });
  }

 private slots:
  void PassCountTakesTwoDigitsAtMostTwentyFive() {
    Rig rig;
    QLineEdit* pTimes = rig.window.txtTimes();
    pTimes->clear();
    QTest::keyClicks(pTimes, "3a -0");
    QCOMPARE(pTimes->text(), QStringLiteral("25"));
    QTest::keyClick(pTimes, Qt::Key_Backspace);
    QCOMPARE(pTimes->text(), QStringLiteral("2"));
    QTest::keyClicks(pTimes, "49");
    QCOMPARE(pTimes->text(), QStringLiteral("24"));
    rig.window.txtSpec()->clear();
    QTest::keyClicks(rig.window.txtSpec(), QString(30, QLatin1Char('x')));
    QCOMPARE(rig.window.txtSpec()->text().size(), 25);
  }

  void EscAnywhereAsksToStopAndAnotherKeyTakesItBack() {
    Rig rig;
    for (QWidget* pTarget : {static_cast<QWidget*>(rig.window.txtTimes()), static_cast<QWidget*>(rig.window.btnMap()),
                             static_cast<QWidget*>(rig.window.txtMsg())}) {
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
    rig.dialogs.choices.push_back(sMap);
    QTest::mouseClick(rig.window.btnMap(), Qt::LeftButton);
    QCOMPARE(rig.window.btnErase()->text(), QStringLiteral("&Erase map holiday"));
    QTest::mouseClick(rig.window.btnErase(), Qt::LeftButton);

    QVERIFY(!Exists(sMap));
    const QStringList lines = rig.window.txtMsg()->toPlainText().split(QLatin1Char('\n'));
    QVERIFY2(lines[0].startsWith(QStringLiteral("Erased 2 file(s) and 2 folder(s);  3.00 kBytes in ")),
             qPrintable(lines[0]));
    QVERIFY(lines.contains(QString::fromStdString("Erasing files in " + sMap + "inner/")));
    QVERIFY(lines.contains(QStringLiteral("Erasing one.txt  [2,048 bytes]")));
    QVERIFY(!rig.window.btnErase()->isEnabled());
    QVERIFY(rig.window.btnMap()->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void FileDialogShowsAllFilesAndMatchesNamesWithoutADot() {
    TempFolder temp;
    temp.Write("noext", "n");
    QWidget owner;
    QtDialogs dialogs(&owner);
    OnNextDialog([](QFileDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Tarnwipe: select a file to erase"));
      QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
               QStringLiteral("All Files (*.*)"));
      QCOMPARE(dialog.findChild<QFileSystemModel*>()->nameFilters(), QStringList{QStringLiteral("*")});
      dialog.selectFile(QStringLiteral("noext"));
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(dialogs.ChooseFile("Tarnwipe: select a file to erase", temp.Path(), "All Files (*.*)"),
             temp.Path() + "noext");
  }

  void FolderDialogTakesAFileAsNamingItsFolder() {
    TempFolder temp;
    const std::string sFile = temp.Write("inside/file.txt", "f");
    QWidget owner;
    QtDialogs dialogs(&owner);
    OnNextDialog([sFile](QFileDialog& dialog) {
      QVERIFY(!dialog.testOption(QFileDialog::ShowDirsOnly));
      dialog.selectFile(QString::fromStdString(sFile));
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(dialogs.ChooseFolder("Select a map to erase", temp.Path()), sFile);
    const std::string sLink = temp.Path() + "to-inside";
    QVERIFY(::symlink((temp.Path() + "inside").c_str(), sLink.c_str()) == 0);
    OnNextDialog([sLink](QFileDialog& dialog) {
      dialog.selectFile(QString::fromStdString(sLink));
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(dialogs.ChooseFolder("Select a map to erase", temp.Path()), temp.Path() + "inside/");
    OnNextDialog([](QFileDialog& dialog) { dialog.reject(); });
    QCOMPARE(dialogs.ChooseFolder("Select a map to erase", temp.Path()), std::string());
  }
};

}  // namespace tarnwipe::test

QTEST_MAIN(tarnwipe::test::EraseWindowTest)
#include "erase_window_test.moc"
