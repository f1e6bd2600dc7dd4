// What the program sets on its application before it makes the window: Qt's
// own texts in Japanese (the message boxes' buttons, the text boxes' menu,
// the folder dialog), the one window font and the icon.
#include "application_setup.h"

#include <QtTest>
#include <QtWidgets>

#include "message_box.h"
#include "message_box_answerer.h"

namespace {

// Whether the text holds kana or kanji.
bool SpeaksJapanese(const QString& text) {
  for (const QChar c : text) {
    if ((c.unicode() >= 0x3040 && c.unicode() <= 0x30FF) || (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)) {
      return true;
    }
  }
  return false;
}

}  // namespace

class ApplicationSetupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(*qApp); }

  void MessageBoxButtonsSpeakJapanese() {
    MessageBoxAnswerer answerer({QMessageBox::No});
    messagebox::AskYesNo(nullptr, QStringLiteral("続けますか？"));
    messagebox::Show(nullptr, QStringLiteral("保存終了"));
    QCOMPARE(answerer.Boxes().size(), std::size_t{2});
    QCOMPARE(answerer.Boxes()[0].buttonTexts, (QStringList{"はい(&Y)", "いいえ(&N)"}));
    QCOMPARE(answerer.Boxes()[1].buttonTexts, QStringList{"OK"});
  }

  void TextBoxMenuSpeaksJapanese() {
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    int entries = 0;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      ++entries;
      QVERIFY2(SpeaksJapanese(action->text()), qPrintable(action->text()));
    }
    QVERIFY(entries >= 6);  // undo, redo, cut, copy, paste, delete, select all
  }

  void FolderDialogSpeaksJapanese() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->isVisibleTo(&dialog) && !label->text().isEmpty()) texts << label->text();
    }
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) texts << button->text();
    QVERIFY(texts.size() >= 3);
    for (const QString& text : texts) QVERIFY2(SpeaksJapanese(text), qPrintable(text));
  }

  void ApplicationHasTheIconAndTheOneFont() {
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 256}) QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QApplication::font().pointSizeF(), 9.0);
  }
};

QTEST_MAIN(ApplicationSetupTest)
#include "application_setup_test.moc"
