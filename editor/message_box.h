// Every message box of the editor is shown here: a modal QMessageBox with the
// application title "Kestrova用データ作成ツール", no icon and the text as plain
// text (a file name is never read as markup). A carriage return in a message,
// the line break of the editor's messages, is shown as a line break: the
// box's text() holds "\n" in its place.
#pragma once

#include <QString>

class QWidget;

namespace messagebox {

inline const QString kTitle = QStringLiteral("Kestrova用データ作成ツール");

// Shows `text` with an OK button alone and returns when it is closed.
void Show(QWidget* parent, const QString& text);

// Asks `text` with the buttons Yes and No (Yes first and default; Escape
// answers No), captioned はい and いいえ by Qt's translation (translations.h).
// True when the answer is Yes.
bool AskYesNo(QWidget* parent, const QString& text);

// Writes `text` to standard error after "cast: ", its carriage returns as
// line breaks: a message that ends the program before its window opens is
// also there for whoever started it from a terminal or a script.
void WriteToStandardError(const QString& text);

}  // namespace messagebox
