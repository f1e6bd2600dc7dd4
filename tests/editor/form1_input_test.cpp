// The keyboard and the text boxes: Tab walks every page from top to bottom,
// the shortcuts press their buttons, the file box's prompt is selected so
// that typing replaces it, and a line break that arrives in a one-line box
// becomes a space.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <functional>

#include "demo_game_window.h"
#include "message_box_answerer.h"
#include "recording_opener.h"

using windowtest::DemoGameFolder;
using windowtest::Find;
using windowtest::MakeDemoForm;
using windowtest::Messages;
using windowtest::TypeName;

namespace {

const QString kPrompt = QStringLiteral("ここを選択");

void ShowActive(Form1& form) {
  form.show();
  form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&form));
}

QRect InWindow(const Form1& form, const QWidget* control) {
  return QRect(control->mapTo(&form, QPoint(0, 0)), control->size());
}

// What Tab reaches: a control that takes the focus from the keyboard and is
// shown and enabled; parts that pass the focus on (an editable combo box's
// line) are their control.
bool TakesTabFocus(const QWidget* control) {
  return (control->focusPolicy() & Qt::TabFocus) != 0 && control->focusProxy() == nullptr &&
         control->isVisible() && control->isEnabled();
}

// The controls in reading order: top to bottom, left to right within a row
// (the middles within 4 pixels of each other).
void SortInRows(const Form1& form, QList<QWidget*>& controls) {
  std::stable_sort(controls.begin(), controls.end(), [&](const QWidget* a, const QWidget* b) {
    const QRect ra = InWindow(form, a);
    const QRect rb = InWindow(form, b);
    if (qAbs(ra.center().y() - rb.center().y()) > 4) return ra.center().y() < rb.center().y();
    return ra.left() < rb.left();
  });
}

// The order a page shows its controls in: a frame (or a control standing on
// the page) at a time, the frames column by column from the left and each
// column from the top; within a frame row by row.
QList<QWidget*> PageInReadingOrder(const Form1& form, QWidget* page) {
  QMap<QWidget*, QList<QWidget*>> byFrame;
  for (QWidget* control : page->findChildren<QWidget*>()) {
    if (!TakesTabFocus(control)) continue;
    QWidget* frame = control;
    while (frame->parentWidget() != page) frame = frame->parentWidget();
    byFrame[frame].append(control);
  }
  QList<QWidget*> frames = byFrame.keys();
  std::sort(frames.begin(), frames.end(), [&](const QWidget* a, const QWidget* b) {
    const QRect ra = InWindow(form, a);
    const QRect rb = InWindow(form, b);
    return ra.left() != rb.left() ? ra.left() < rb.left() : ra.top() < rb.top();
  });
  QList<QWidget*> order;
  for (QWidget* frame : frames) {
    QList<QWidget*> controls = byFrame[frame];
    SortInRows(form, controls);
    order += controls;
  }
  return order;
}

QString NameOf(const QWidget* control) {
  if (qobject_cast<const QTabBar*>(control) != nullptr) return control->parentWidget()->objectName();
  return control->objectName();
}

QStringList Names(const QList<QWidget*>& controls) {
  QStringList names;
  for (const QWidget* control : controls) names << NameOf(control);
  return names;
}

}  // namespace

class Form1InputTest : public QObject {
  Q_OBJECT

 private slots:
  void TabWalksEveryPageFromTopToBottom_data();
  void TabWalksEveryPageFromTopToBottom();
  void ShortcutsPressTheirButtons_data();
  void ShortcutsPressTheirButtons();
  void TypingReplacesTheFileBoxPrompt_data();
  void TypingReplacesTheFileBoxPrompt();
  void EditedFileBoxTextIsNotSelectedByAClick();
  void LineBreakArrivingInAOneLineBoxBecomesASpace_data();
  void LineBreakArrivingInAOneLineBoxBecomesASpace();
};

void Form1InputTest::TabWalksEveryPageFromTopToBottom_data() {
  QTest::addColumn<int>("page");
  QTest::addColumn<bool>("shopControls");
  for (int page = 0; page < 6; ++page) QTest::addRow("page %d", page) << page << false;
  QTest::newRow("page 0, shop controls shown") << 0 << true;
}

// From the file box, Tab goes to the page tabs, through the page in front in
// its reading order, then along the bottom of the window, and back.
void Form1InputTest::TabWalksEveryPageFromTopToBottom() {
  QFETCH(int, page);
  QFETCH(bool, shopControls);
  DemoGameFolder game;
  auto form = MakeDemoForm();
  TypeName(*form, "HAYATE");
  if (shopControls) {
    for (const char* name : {"sf", "cmVShopPack", "VShop"}) Find<QWidget>(*form, name)->show();
  }
  auto* tabs = Find<QTabWidget>(*form, "SSTab1");
  tabs->setCurrentIndex(page);
  ShowActive(*form);

  QList<QWidget*> bottom;
  for (QWidget* control : form->findChildren<QWidget*>()) {
    if (TakesTabFocus(control) && !tabs->isAncestorOf(control) &&
        InWindow(*form, control).top() > InWindow(*form, tabs).bottom()) {
      bottom.append(control);
    }
  }
  SortInRows(*form, bottom);
  const QStringList expected = QStringList{"cbFile", "SSTab1"} + Names(PageInReadingOrder(*form, tabs->widget(page))) +
                               Names(bottom) + QStringList{"cbFile"};

  auto* file = Find<QComboBox>(*form, "cbFile");
  file->setFocus(Qt::TabFocusReason);
  QStringList walked{NameOf(QApplication::focusWidget())};
  while (walked.size() < expected.size()) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << NameOf(QApplication::focusWidget());
  }
  QCOMPARE(walked, expected);
  QCOMPARE(tabs->currentIndex(), page);
}

void Form1InputTest::ShortcutsPressTheirButtons_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("pressed");
  QTest::newRow("Ctrl+S") << int{Qt::Key_S} << int{Qt::ControlModifier} << "Save";
  QTest::newRow("F1") << int{Qt::Key_F1} << int{Qt::NoModifier} << "Help";
  QTest::newRow("Ctrl+Q") << int{Qt::Key_Q} << int{Qt::ControlModifier} << "Command1";
}

// Pressed with the focus in a text box; each runs its button's command and
// no other, and no caption changes.
void Form1InputTest::ShortcutsPressTheirButtons() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QString, pressed);
  DemoGameFolder game;
  RecordingOpener opener;
  auto form = MakeDemoForm();
  TypeName(*form, "HAYATE");
  ShowActive(*form);
  auto* name = Find<QLineEdit>(*form, "TxName");
  name->setFocus();

  const QStringList buttons{"Help", "cmPack", "Save", "Command1"};
  QStringList captions;
  QList<std::shared_ptr<QSignalSpy>> clicks;
  for (const QString& button : buttons) {
    auto* control = Find<QPushButton>(*form, qPrintable(button));
    captions << control->text();
    clicks << std::make_shared<QSignalSpy>(control, &QPushButton::clicked);
  }
  const QStringList messages = Messages(
      [&] { QTest::keyClick(name, static_cast<Qt::Key>(key), static_cast<Qt::KeyboardModifiers>(modifiers)); });

  for (int i = 0; i < buttons.size(); ++i) {
    QVERIFY2(clicks[i]->count() == (buttons[i] == pressed ? 1 : 0), qPrintable(buttons[i]));
    QCOMPARE(Find<QPushButton>(*form, qPrintable(buttons[i]))->text(), captions[i]);
  }
  QCOMPARE(name->text(), QStringLiteral("疾風"));
  if (pressed == "Save") {
    QCOMPARE(messages, QStringList{"保存終了"});
  } else {
    QCOMPARE(messages, QStringList());
  }
  QCOMPARE(opener.Opened(pressed == "Help" ? 1 : 0), pressed == "Help" ? QStringList{"help_tug.html"} : QStringList());
  QCOMPARE(form->isVisible(), pressed != "Command1");
}

void Form1InputTest::TypingReplacesTheFileBoxPrompt_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("a click at the end") << "click at the end";
  QTest::newRow("a click in the middle") << "click in the middle";
  QTest::newRow("Tab") << "Tab";
  QTest::newRow("a second click") << "second click";
}

void Form1InputTest::TypingReplacesTheFileBoxPrompt() {
  QFETCH(QString, how);
  DemoGameFolder game;
  auto form = MakeDemoForm();
  ShowActive(*form);
  auto* file = Find<QComboBox>(*form, "cbFile");
  QLineEdit* line = file->lineEdit();
  QCOMPARE(file->currentText(), kPrompt);

  const QPoint end(line->width() - 4, line->height() / 2);
  const QPoint middle(line->fontMetrics().horizontalAdvance(kPrompt.left(2)), line->height() / 2);
  if (how == "Tab") {
    Find<QPushButton>(*form, "Command1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), file);
  } else {
    QTest::mouseClick(line, Qt::LeftButton, {}, how == "click in the middle" ? middle : end);
    if (how == "second click") {
      QTRY_COMPARE(line->selectedText(), kPrompt);
      QTest::mouseClick(line, Qt::LeftButton, {}, middle);
    }
  }
  QTRY_COMPARE(line->selectedText(), kPrompt);
  QTest::keyClicks(line, QStringLiteral("HAYATE"));
  QCOMPARE(file->currentText(), QStringLiteral("HAYATE"));
  QCOMPARE(Find<QLineEdit>(*form, "TxName")->text(), QStringLiteral("疾風"));
}

// Once the prompt has been changed, a click puts the cursor as in any box.
void Form1InputTest::EditedFileBoxTextIsNotSelectedByAClick() {
  DemoGameFolder game;
  auto form = MakeDemoForm();
  ShowActive(*form);
  QLineEdit* line = Find<QComboBox>(*form, "cbFile")->lineEdit();
  QTest::mouseClick(line, Qt::LeftButton);
  QTRY_COMPARE(line->selectedText(), kPrompt);
  QTest::keyClicks(line, QStringLiteral("HAY"));
  QTest::mouseClick(Find<QLineEdit>(*form, "TxName"), Qt::LeftButton);
  QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(2, line->height() / 2));
  QCoreApplication::processEvents();
  QCOMPARE(line->selectedText(), QString());
  QCOMPARE(line->text(), QStringLiteral("HAY"));
}

void Form1InputTest::LineBreakArrivingInAOneLineBoxBecomesASpace_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("arriving");
  QTest::addColumn<QString>("shown");
  const QString everyBreak = QStringLiteral("a\r\nb\nc\rd");  // CR LF, LF, CR
  QTest::newRow("pasted into a comment line") << "paste" << "TxCom_0" << everyBreak << "a b c d";
  QTest::newRow("pasted into the unit name") << "paste" << "TxName" << "疾風\r\n迅雷" << "疾風 迅雷";
  QTest::newRow("pasted into the e-mail address") << "paste" << "TxEmail" << "a@b.jp\n" << "a@b.jp ";
  QTest::newRow("inserted into the maker's name") << "insert" << "TxMaker" << everyBreak << "a b c d";
  QTest::newRow("set from code into a number box") << "set" << "TxDame" << "8\r\n50" << "8 50";
  QTest::newRow("pasted into the file box") << "paste" << "cbFile" << "\nHAYATE" << " HAYATE";
}

// Each line break one space, and the cursor after the last character.
void Form1InputTest::LineBreakArrivingInAOneLineBoxBecomesASpace() {
  QFETCH(QString, how);
  QFETCH(QString, box);
  QFETCH(QString, arriving);
  QFETCH(QString, shown);
  DemoGameFolder game;
  auto form = MakeDemoForm();
  ShowActive(*form);
  TypeName(*form, "NEWCAST");
  QLineEdit* line = box == "cbFile" ? Find<QComboBox>(*form, "cbFile")->lineEdit() : Find<QLineEdit>(*form, qPrintable(box));
  line->clear();
  line->setFocus();
  if (how == "paste") {
    QGuiApplication::clipboard()->setText(arriving);
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
  } else if (how == "insert") {
    line->insert(arriving);
  } else {
    line->setText(arriving);
  }
  QCOMPARE(line->text(), shown);
  if (how != "set") QCOMPARE(line->cursorPosition(), shown.size());
}

QTEST_MAIN(Form1InputTest)
#include "form1_input_test.moc"
