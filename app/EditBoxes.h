#pragma once
// Settings shared by the question box and the six result boxes: sunken
// frame, black on white, no length limit, selection hidden without focus.

class QLineEdit;
class QPlainTextEdit;

namespace ql::app {

// Single line, scrolling sideways as the user types.
void configureQuestionBox(QLineEdit* box);
// Multi-line: wraps at the box width, follows the caret vertically without
// scroll bars, Enter inserts a line break, Tab moves on to the next control.
void configureResultBox(QPlainTextEdit* box);

} // namespace ql::app
