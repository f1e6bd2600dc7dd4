// One-line text boxes hold one line: a line break that arrives in a box
// (pasted, dropped, committed by an input method or set from code) becomes
// one space as it arrives, a CR LF pair as one. QLineEdit on its own keeps
// line breaks, which no cast file can store on its line.
#pragma once

#include <QValidator>

class LineBreaksToSpaces : public QValidator {
 public:
  using QValidator::QValidator;

  // Rewrites `input` in place and keeps the cursor `position` on the same
  // character; every text is acceptable once rewritten.
  State validate(QString& input, int& position) const override;
};
