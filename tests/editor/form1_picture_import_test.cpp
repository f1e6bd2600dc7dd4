// Any image made the cast picture through the real window: an image file
// dropped on Picture1 and "画像を読み込む…" from its context menu, refusals and
// failures that write nothing, and "画像を書き出す…", the picture as PNG.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <functional>
#include <string>

#include "cast_picture_format.h"
#include "demo_game_window.h"
#include "fixture_files.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;
using windowtest::Find;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

const QString kReadImage = QStringLiteral("画像を読み込む…");
const QString kWriteImage = QStringLiteral("画像を書き出す…");
const QString kNoCast = QStringLiteral("キャストのファイル名を入力してください");
const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外、画像を変更できません");
const QString kNoImage = QStringLiteral("画像ファイルではないか、壊れています");

QString Text(const fs::path& file) { return QString::fromStdString(file.string()); }

// A photo-like image file of 120 x 80 pixels outside the game folder.
fs::path WriteImage(const fs::path& file, const char* format) {
  QImage image(120, 80, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(2 * x, 3 * y, 255 - x));
  }
  if (!image.save(Text(file), format)) throw std::runtime_error("cannot write " + file.string());
  return file;
}

// The form shown, so that its controls have their places on screen.
std::unique_ptr<Form1> ShownDemoForm(bool shopMode = false) {
  auto form = windowtest::MakeDemoForm(shopMode);
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) throw std::runtime_error("the window was never shown");
  return form;
}

// What a file manager puts into a drag of files: their URLs, and the same
// as text, which any text box would take.
void SetDraggedUrls(QMimeData& data, const QList<QUrl>& urls) {
  data.setUrls(urls);
  QStringList lines;
  for (const QUrl& url : urls) lines << url.toString();
  data.setText(lines.join('\n'));
}

struct Dropped {
  Qt::DropAction action = Qt::IgnoreAction;  // as the window answered the drop
  QStringList messages;                      // of the work the drop does
};

// Drags the image file `file` from a file manager onto the middle of
// Picture1 and drops it there, as the window system delivers it: to the
// window, which finds the control under the pointer. The player holds
// Shift, which asks to move the file.
Dropped DropOnPicture(Form1& form, const fs::path& file) {
  QMimeData data;
  SetDraggedUrls(data, {QUrl::fromLocalFile(Text(file))});
  QWidget* picture = Find<QWidget>(form, "Picture1");
  const QPoint position = picture->mapTo(&form, picture->rect().center());
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
  Dropped dropped;
  dropped.messages = Messages([&] {
    QDragEnterEvent enter(position, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &enter);
    QDropEvent drop(position, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &drop);
    if (drop.isAccepted()) dropped.action = drop.dropAction();
    QCoreApplication::processEvents();  // the work runs once the drop has ended
  });
  return dropped;
}

// Opens the context menu of `control` as a right click does, and picks the
// item `item` from it; `offered` gets the menu's items. The messages shown.
QStringList ChooseFromMenu(QWidget* control, const QString& item, QStringList* offered = nullptr) {
  return Messages([&] {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      poll.stop();
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        if (offered != nullptr) *offered << action->text();
        if (action->text() == item) chosen = action;
      }
      if (chosen == nullptr) {
        menu->close();
        return;
      }
      menu->setActiveAction(chosen);
      QTest::keyClick(menu, Qt::Key_Return);
    });
    poll.start(5);
    const QPoint centre = control->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, centre, control->mapToGlobal(centre));
    QCoreApplication::sendEvent(control, &event);
  });
}

QImage Shown(Form1& form) {
  return Find<QLabel>(form, "Picture1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage PictureFile(const char* relative) {
  return QImage(QString::fromStdString(gamefixture::InGame(relative))).convertToFormat(QImage::Format_RGB32);
}

bool IsCastPicture(const std::string& bytes) {
  return castdata::IsCastPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace

class Form1PictureImportTest : public QObject {
  Q_OBJECT

 private slots:
  void ImageDroppedOnThePictureBecomesTheCastPicture_data();
  void ImageDroppedOnThePictureBecomesTheCastPicture();
  void RefusedDropsSayWhyAndWriteNothing_data();
  void RefusedDropsSayWhyAndWriteNothing();
  void OnlyOneFileOnThePictureOrPackagesAnywhereAreTaken_data();
  void OnlyOneFileOnThePictureOrPackagesAnywhereAreTaken();
  void MenuReadsTheChosenImage();
  void MenuRefusesBeforeAskingAndAskingNothingChoosesNothing();
  void MenuWritesThePictureAsPng();
  void MenuSaysWhatCannotBeWritten();
};

void Form1PictureImportTest::ImageDroppedOnThePictureBecomesTheCastPicture_data() {
  QTest::addColumn<QString>("cast");
  QTest::addColumn<bool>("shopMode");
  QTest::addColumn<QString>("format");
  QTest::newRow("own cast, PNG") << "HAYATE" << false << "PNG";
  QTest::newRow("own cast, JPEG") << "HAYATE" << false << "JPG";
  QTest::newRow("own cast, WebP") << "HAYATE" << false << "WEBP";
  QTest::newRow("a cast not yet stored") << "NEWCAST" << false << "PNG";
  QTest::newRow("another player's cast in shop mode") << "RAIDEN" << true << "PNG";
}

void Form1PictureImportTest::ImageDroppedOnThePictureBecomesTheCastPicture() {
  QFETCH(QString, cast);
  QFETCH(bool, shopMode);
  QFETCH(QString, format);
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  const fs::path image =
      WriteImage(elsewhere.path() / ("drawing." + format.toLower().toStdString()), qPrintable(format));
  const std::string imageBytes = gamefixture::ReadBytes(image);
  auto form = ShownDemoForm(shopMode);
  TypeName(*form, cast);

  const Dropped dropped = DropOnPicture(*form, image);
  QCOMPARE(dropped.messages, QStringList());
  QCOMPARE(dropped.action, Qt::CopyAction);  // never a move, which would delete the player's file

  const std::string picture = "cast/" + cast.toStdString() + ".bmp";
  const std::string written = gamefixture::ReadBytes(gamefixture::InGame(picture));
  QCOMPARE(written.size(), castdata::kCastPictureSize);
  QVERIFY(IsCastPicture(written));
  QCOMPARE(Shown(*form), PictureFile(picture.c_str()));  // shown at once
  QCOMPARE(gamefixture::ReadBytes(image), imageBytes);   // the player's file stays as it was
  QCOMPARE(fs::exists(gamefixture::InGame("cast/" + cast.toStdString() + ".cst")), cast != "NEWCAST");
}

void Form1PictureImportTest::RefusedDropsSayWhyAndWriteNothing_data() {
  QTest::addColumn<QString>("cast");  // empty: no name typed, the pages disabled
  QTest::addColumn<QString>("file");
  QTest::addColumn<QStringList>("messageParts");
  QTest::newRow("no cast yet") << "" << "drawing.png" << QStringList{kNoCast};
  QTest::newRow("another player's cast") << "RAIDEN" << "drawing.png" << QStringList{kNotOwnCast};
  QTest::newRow("a file that is no image") << "HAYATE" << "notes.png" << QStringList{"notes.png", kNoImage};
  QTest::newRow("a file that is gone") << "HAYATE" << "gone.png" << QStringList{"gone.png", "ファイルが見つかりません"};
}

void Form1PictureImportTest::RefusedDropsSayWhyAndWriteNothing() {
  QFETCH(QString, cast);
  QFETCH(QString, file);
  QFETCH(QStringList, messageParts);
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  WriteImage(elsewhere.path() / "drawing.png", "PNG");
  gamefixture::WriteBytes(elsewhere.path() / "notes.png", "just some notes");
  auto form = ShownDemoForm();
  if (!cast.isEmpty()) TypeName(*form, cast);
  const QImage shownBefore = Shown(*form);
  const gamefixture::FolderTree before = game.Snapshot();

  const QStringList messages = DropOnPicture(*form, elsewhere.path() / file.toStdString()).messages;

  QCOMPARE(messages.size(), 1);
  for (const QString& part : messageParts) QVERIFY2(messages[0].contains(part), qPrintable(messages[0]));
  QVERIFY(game.Snapshot() == before);
  QCOMPARE(Shown(*form), shownBefore);
}

void Form1PictureImportTest::OnlyOneFileOnThePictureOrPackagesAnywhereAreTaken_data() {
  QTest::addColumn<QStringList>("urls");
  QTest::addColumn<QString>("over");  // the control under the pointer
  QTest::addColumn<int>("page");      // the page in front
  QTest::addColumn<Qt::DropActions>("offered");
  QTest::addColumn<bool>("taken");
  const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
  const QString png = QUrl::fromLocalFile("/tmp/a.png").toString();
  const QString ec = QUrl::fromLocalFile("/tmp/a.ec").toString();
  const QString upperEc = QUrl::fromLocalFile("/tmp/B.EC").toString();
  QTest::newRow("an image on the picture") << QStringList{png} << "Picture1" << 0 << both << true;
  QTest::newRow("an image elsewhere") << QStringList{png} << "Save" << 0 << both << false;
  QTest::newRow("two images on the picture") << QStringList{png, png} << "Picture1" << 0 << both << false;
  QTest::newRow("an image where the picture is, on another page") << QStringList{png} << "Picture1" << 2 << both
                                                                  << false;
  QTest::newRow("a web address on the picture") << QStringList{"https://example.com/a.png"} << "Picture1" << 0
                                                << both << false;
  QTest::newRow("packages anywhere") << QStringList{ec, upperEc} << "Save" << 0 << both << true;
  QTest::newRow("packages over a text box") << QStringList{ec} << "TxName" << 0 << both << true;
  QTest::newRow("packages over the file-name box") << QStringList{ec} << "cbFile" << 0 << both << true;
  QTest::newRow("packages and an image") << QStringList{ec, png} << "Picture1" << 0 << both << false;
  QTest::newRow("a drag that can only move") << QStringList{ec} << "Save" << 0 << Qt::DropActions(Qt::MoveAction)
                                             << false;
}

// Only the drag is tried here: the drag enters and moves, and what the
// window answers is what the file manager shows the player. The player
// holds Shift, which asks to move the files; a file taken is always copied.
void Form1PictureImportTest::OnlyOneFileOnThePictureOrPackagesAnywhereAreTaken() {
  QFETCH(QStringList, urls);
  QFETCH(QString, over);
  QFETCH(int, page);
  QFETCH(Qt::DropActions, offered);
  QFETCH(bool, taken);
  windowtest::DemoGameFolder game;
  auto form = ShownDemoForm();
  TypeName(*form, "HAYATE");
  // The control's place on page 0, whichever page is then brought to the front.
  QWidget* control = Find<QWidget>(*form, qPrintable(over));
  const QPoint position = control->mapTo(form.get(), control->rect().center());
  Find<QTabWidget>(*form, "SSTab1")->setCurrentIndex(page);

  QMimeData data;
  QList<QUrl> list;
  for (const QString& url : urls) list << QUrl(url);
  SetDraggedUrls(data, list);
  QDragEnterEvent enter(position, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(form->windowHandle(), &enter);
  QDragMoveEvent move(position, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  QCoreApplication::sendEvent(form->windowHandle(), &move);
  QCOMPARE(enter.isAccepted() && move.isAccepted(), taken);
  if (taken) QCOMPARE(move.dropAction(), Qt::CopyAction);
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(form->windowHandle(), &leave);
}

void Form1PictureImportTest::MenuReadsTheChosenImage() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  const fs::path image = WriteImage(elsewhere.path() / "chosen.png", "PNG");
  auto form = ShownDemoForm();
  int asked = 0;
  form->SetPictureFileChoices({[&](QWidget*) {
                                 ++asked;
                                 return Text(image);
                               },
                               {}});
  TypeName(*form, "HAYATE");
  QStringList offered;
  QCOMPARE(ChooseFromMenu(Find<QWidget>(*form, "Picture1"), kReadImage, &offered), QStringList());
  QCOMPARE(offered, (QStringList{kReadImage, kWriteImage}));
  QCOMPARE(asked, 1);
  QVERIFY(IsCastPicture(gamefixture::ReadBytes(gamefixture::InGame("cast/HAYATE.bmp"))));
  QCOMPARE(Shown(*form), PictureFile("cast/HAYATE.bmp"));
}

void Form1PictureImportTest::MenuRefusesBeforeAskingAndAskingNothingChoosesNothing() {
  windowtest::DemoGameFolder game;
  auto form = ShownDemoForm();
  int asked = 0;
  form->SetPictureFileChoices({[&](QWidget*) {
                                 ++asked;
                                 return QString();
                               },
                               [&](QWidget*, const QString&) {
                                 ++asked;
                                 return QString();
                               }});
  const gamefixture::FolderTree before = game.Snapshot();
  QWidget* picture = Find<QWidget>(*form, "Picture1");

  TypeName(*form, "RAIDEN");
  QCOMPARE(ChooseFromMenu(picture, kReadImage), QStringList{kNotOwnCast});
  QCOMPARE(asked, 0);

  TypeName(*form, "HAYATE");
  QCOMPARE(ChooseFromMenu(picture, kReadImage), QStringList());
  QCOMPARE(ChooseFromMenu(picture, kWriteImage), QStringList());
  QCOMPARE(asked, 2);
  QVERIFY(game.Snapshot() == before);
}

void Form1PictureImportTest::MenuWritesThePictureAsPng() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  auto form = ShownDemoForm();
  QStringList suggestions;
  QString answer;
  form->SetPictureFileChoices({{}, [&](QWidget*, const QString& suggested) {
                                 suggestions << suggested;
                                 return answer;
                               }});
  // Another player's picture may be written out too: it is never hidden.
  for (const char* cast : {"HAYATE", "RAIDEN"}) {
    TypeName(*form, cast);
    for (const char* chosen : {"with-suffix.PNG", "without-suffix"}) {
      answer = Text(elsewhere.path() / chosen);
      const fs::path png = elsewhere.path() / (std::string(chosen) + (QString(chosen).endsWith(".PNG") ? "" : ".png"));
      fs::remove(png);
      QCOMPARE(ChooseFromMenu(Find<QWidget>(*form, "Picture1"), kWriteImage), QStringList());
      QImageReader reader(Text(png));
      QCOMPARE(reader.format(), QByteArray("png"));
      QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32),
               PictureFile(("cast/" + std::string(cast) + ".bmp").c_str()));
    }
  }
  QCOMPARE(suggestions, (QStringList{"HAYATE.png", "HAYATE.png", "RAIDEN.png", "RAIDEN.png"}));
}

void Form1PictureImportTest::MenuSaysWhatCannotBeWritten() {
  windowtest::DemoGameFolder game;
  gamefixture::TemporaryFolder elsewhere;
  auto form = ShownDemoForm();
  int asked = 0;
  const QString unwritable = Text(elsewhere.path() / "no-such-folder/out.png");
  form->SetPictureFileChoices({{}, [&](QWidget*, const QString&) {
                                 ++asked;
                                 return unwritable;
                               }});
  QWidget* picture = Find<QWidget>(*form, "Picture1");

  // A cast not yet stored has no picture file, whatever the box still shows.
  TypeName(*form, "HAYATE");
  TypeName(*form, "NEWCAST");
  QStringList messages = ChooseFromMenu(picture, kWriteImage);
  QVERIFY2(messages.size() == 1 && messages[0].contains("NEWCAST.bmp") &&
               messages[0].contains("ファイルが見つかりません"),
           qPrintable(messages.join('|')));
  QCOMPARE(asked, 0);

  TypeName(*form, "HAYATE");
  messages = ChooseFromMenu(picture, kWriteImage);
  QVERIFY2(messages.size() == 1 && messages[0].contains(unwritable), qPrintable(messages.join('|')));
  QCOMPARE(asked, 1);
  QVERIFY(!fs::exists(elsewhere.path() / "no-such-folder"));
}

QTEST_MAIN(Form1PictureImportTest)
#include "form1_picture_import_test.moc"
