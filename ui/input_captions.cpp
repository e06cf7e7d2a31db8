#include "input_captions.h"

#include <QLabel>
#include <QWidget>

#include "analysis_view.h"

namespace zr {

namespace {

// The caption label beside each input box in the form; Label3 captions the
// subsidised investment, a result.
constexpr std::array<const char*, kFieldCount> kCaptionLabels = {
    "Label1",  "Label2",  "Label4",  "Label5",  "Label6",  "Label15", "Label16", "Label17",
    "Label18", "Label19", "Label20", "Label21", "Label22", "Label23", "Label24", "Label25",
};

}  // namespace

InputCaptions ReadInputCaptions(const QWidget& form) {
  InputCaptions captions;
  for (const Field field : kAllFields) {
    const auto* label = form.findChild<QLabel*>(kCaptionLabels[Index(field)]);
    // A form without the label still names the input, by its field.
    if (label == nullptr) {
      captions[Index(field)] = {QString::fromUtf8(FieldName(field).data(),
                                                  static_cast<qsizetype>(FieldName(field).size())),
                                QString()};
      continue;
    }
    const CaptionParts parts = SplitCaption(label->text().toStdString());
    captions[Index(field)] = {QString::fromStdString(parts.text),
                              QString::fromStdString(parts.unit)};
  }
  return captions;
}

}  // namespace zr
