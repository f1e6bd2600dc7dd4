#include "message_box.h"

#include <QtTest>

#include "message_box_answerer.h"

using Buttons = QList<QMessageBox::StandardButton>;

class MessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void MessageHasTheApplicationTitleNoIconAndOkAlone() {
    MessageBoxAnswerer answerer;
    messagebox::Show(nullptr, QStringLiteral("保存終了"));

    QCOMPARE(answerer.Boxes().size(), std::size_t{1});
    const auto& box = answerer.Boxes().front();
    QCOMPARE(box.title, QStringLiteral("Kestrova用データ作成ツール"));
    QCOMPARE(box.text, QStringLiteral("保存終了"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, Buttons{QMessageBox::Ok});
  }

  void TextIsShownAsPlainTextWithCarriageReturnsAsLineBreaks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR") << QStringLiteral("Version1.32以上\rインストール")
                        << QStringLiteral("Version1.32以上\nインストール");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("markup") << QStringLiteral("cast/<b>x</b>.dat") << QStringLiteral("cast/<b>x</b>.dat");
  }
  void TextIsShownAsPlainTextWithCarriageReturnsAsLineBreaks() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    MessageBoxAnswerer answerer;
    messagebox::Show(nullptr, text);
    QCOMPARE(answerer.Texts(), QStringList{shown});
    QCOMPARE(answerer.Boxes().front().textFormat, Qt::PlainText);
  }

  void QuestionIsAnsweredYesOrNo_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << int{QMessageBox::Yes} << true;
    QTest::newRow("no") << int{QMessageBox::No} << false;
  }
  void QuestionIsAnsweredYesOrNo() {
    QFETCH(int, answer);
    QFETCH(bool, yes);
    MessageBoxAnswerer answerer({static_cast<QMessageBox::StandardButton>(answer)});
    QCOMPARE(messagebox::AskYesNo(nullptr, QStringLiteral("続けますか？")), yes);

    QCOMPARE(answerer.Boxes().size(), std::size_t{1});
    const auto& box = answerer.Boxes().front();
    QCOMPARE(box.title, QStringLiteral("Kestrova用データ作成ツール"));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, (Buttons{QMessageBox::Yes, QMessageBox::No}));
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
  }

  void EscapeAnswersNo() {
    QTimer::singleShot(0, [] {
      QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
      QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QVERIFY(!messagebox::AskYesNo(nullptr, QStringLiteral("続けますか？")));
  }

  void BoxIsModalOverItsParent() {
    QWidget parent;
    bool modal = false;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      modal = box != nullptr && box->isModal() && box->parentWidget() == &parent;
      if (box != nullptr) box->close();
    });
    messagebox::Show(&parent, QStringLiteral("x"));
    QVERIFY(modal);
  }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
