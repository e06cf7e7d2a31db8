#include "input_captions.h"

#include <QLabel>
#include <QWidget>

namespace zr {

namespace {

// The caption label beside each input box in the form; Label3 captions the
// subsidised investment, a result.
constexpr std::array<const char*, kFieldCount> kCaptionLabels = {
    "Label1",  "Label2",  "Label4",  "Label5",  "Label6",  "Label15", "Label16", "Label17",
    "Label18", "Label19", "Label20", "Label21", "Label22", "Label23", "Label24", "Label25",
};

// Trailing blanks, colons and the comma before a removed unit.
QString TrimEnd(QString text) {
  while (!text.isEmpty() && (text.back().isSpace() || text.back() == u':' || text.back() == u',')) {
    text.chop(1);
  }
  return text;
}

}  // namespace

InputCaption SplitCaption(const QString& shown) {
  const QString trimmed = TrimEnd(shown);
  const qsizetype open = trimmed.lastIndexOf(u'[');
  const qsizetype close = trimmed.lastIndexOf(u']');
  if (open < 0 || close < open) return {trimmed, QString()};
  return {TrimEnd(trimmed.left(open)), trimmed.mid(open + 1, close - open - 1)};
}

InputCaptions ReadInputCaptions(const QWidget& form) {
  InputCaptions captions;
  for (const Field field : kAllFields) {
    const auto* label = form.findChild<QLabel*>(kCaptionLabels[Index(field)]);
    // A form without the label still names the input, by its field.
    captions[Index(field)] =
        label != nullptr
            ? SplitCaption(label->text())
            : InputCaption{QString::fromUtf8(FieldName(field).data(), FieldName(field).size()),
                           QString()};
  }
  return captions;
}

}  // namespace zr
