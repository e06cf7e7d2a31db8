#pragma once
// The captions of the sixteen input boxes as the main window shows them,
// split into the words and the unit in brackets, for the windows that list
// the inputs again.

#include <QString>
#include <array>

#include "input_set.h"

class QWidget;

namespace zr {

struct InputCaption {
  QString text;  // the caption without its unit and closing colon
  QString unit;  // the text inside the last [..], empty when there is none
};
using InputCaptions = std::array<InputCaption, kFieldCount>;  // by Index(Field)

// Reads the caption labels of the main window's form, each split as the
// core splits a caption (SplitCaption).
InputCaptions ReadInputCaptions(const QWidget& form);

}  // namespace zr
