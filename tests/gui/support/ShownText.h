#pragma once
// What a control shows of its text, read as Qt reads it: on a button, a
// check box, a radio button or a group box "&&" shows "&" and a lone "&"
// marks the shortcut letter; a label that takes its text for rich text
// shows the text of the markup.

#include <QString>

class QAbstractButton;
class QGroupBox;
class QLabel;

namespace vra::test {

QString ShownText(const QAbstractButton& button);
QString ShownText(const QGroupBox& group);
QString ShownText(const QLabel& label);

}  // namespace vra::test
