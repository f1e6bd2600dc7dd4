// The picture double-click and the help command, in the demo game folder with
// a recording opener first on PATH.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>

#include "demo_game_window.h"
#include "fixture_files.h"
#include "recording_opener.h"

namespace fs = std::filesystem;
using windowtest::Find;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

// `relative` as the editor names it in the demo game, found in any case.
QString Shown(const char* relative) { return QString::fromStdString(gamefixture::InGame(relative)); }

QStringList DoubleClickPicture(Form1& form) {
  return Messages([&] {
    QWidget* picture = Find<QWidget>(form, "Picture1");
    QTest::mouseDClick(picture, Qt::LeftButton, {}, picture->rect().center());
  });
}

QStringList PressHelp(Form1& form) {
  return Messages([&] { Find<QPushButton>(form, "Help")->click(); });
}

}  // namespace

class Form1PictureHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void ExistingPictureIsOpenedWithoutACopy();
  void NewCastsPictureIsCopiedFromTheDefaultAndOpened();
  void PictureThatCannotBeMadeIsSaidAndNothingOpened();
  void HelpOpensTheManual();
  void MissingManualChangesNothingOnScreen();
};

void Form1PictureHelpTest::ExistingPictureIsOpenedWithoutACopy() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  const gamefixture::FolderTree before = game.Snapshot();
  QCOMPARE(DoubleClickPicture(*form), QStringList());
  QCOMPARE(opener.Opened(1), QStringList{Shown("cast/HAYATE.bmp")});
  QVERIFY(game.Snapshot() == before);
}

void Form1PictureHelpTest::NewCastsPictureIsCopiedFromTheDefaultAndOpened() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "NEWCAST");
  QVERIFY(!fs::exists(gamefixture::InGame("cast/NEWCAST.bmp")));
  QCOMPARE(DoubleClickPicture(*form), QStringList());
  QCOMPARE(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.bmp")),
           gamefixture::ReadBytes(gamefixture::InGame("cast/def.bmp")));
  QVERIFY(Find<QLabel>(*form, "Picture1")->pixmap().isNull());  // not reloaded

  // A second double-click only opens the copy, even once the default changed.
  gamefixture::WriteBytes(gamefixture::InGame("cast/def.bmp"), "changed");
  QCOMPARE(DoubleClickPicture(*form), QStringList());
  QCOMPARE(opener.Opened(2), (QStringList{Shown("cast/NEWCAST.bmp"), Shown("cast/NEWCAST.bmp")}));
  QVERIFY(gamefixture::ReadBytes(gamefixture::InGame("cast/NEWCAST.bmp")) != "changed");
}

void Form1PictureHelpTest::PictureThatCannotBeMadeIsSaidAndNothingOpened() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  fs::remove(gamefixture::InGame("cast/def.bmp"));
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "NEWCAST");
  const gamefixture::FolderTree before = game.Snapshot();
  const QStringList messages = DoubleClickPicture(*form);
  QVERIFY2(messages.size() == 1 && messages[0].contains("cast/def.bmp") &&
               messages[0].contains("No such file or directory"),
           qPrintable(messages.join('|')));
  QCOMPARE(opener.Opened(), QStringList());
  QVERIFY(game.Snapshot() == before);
}

void Form1PictureHelpTest::HelpOpensTheManual() {
  windowtest::DemoGameFolder game;
  RecordingOpener opener;
  auto form = windowtest::MakeDemoForm();
  const gamefixture::FolderTree before = game.Snapshot();
  QCOMPARE(PressHelp(*form), QStringList());
  QCOMPARE(opener.Opened(1), QStringList{"help_tug.html"});
  QVERIFY(game.Snapshot() == before);
}

// Without a manual, and without any opener, the window stays as it was: no
// message and the same page.
void Form1PictureHelpTest::MissingManualChangesNothingOnScreen() {
  windowtest::DemoGameFolder game;
  fs::remove("help_tug.html");
  auto form = windowtest::MakeDemoForm();
  TypeName(*form, "HAYATE");
  auto* tabs = Find<QTabWidget>(*form, "SSTab1");
  tabs->setCurrentIndex(2);
  {
    RecordingOpener opener;
    QCOMPARE(PressHelp(*form), QStringList());
    QCOMPARE(opener.Opened(1), QStringList{"help_tug.html"});
  }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  QCOMPARE(PressHelp(*form), QStringList());
  QCOMPARE(tabs->currentIndex(), 2);
  tabs->setCurrentIndex(0);
  QCOMPARE(DoubleClickPicture(*form), QStringList());
  qputenv("PATH", path);
}

QTEST_MAIN(Form1PictureHelpTest)
#include "form1_picture_help_test.moc"
