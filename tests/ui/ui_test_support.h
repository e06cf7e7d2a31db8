#pragma once
// Shared pieces of the window tests: a message recorder instead of the modal
// box, and the window built with it.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "chart_box.h"
#include "error_reporter.h"
#include "file_chooser.h"
#include "input_set.h"
#include "main_window.h"

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace zr::test {

// What the window showed at the moment a message was shown.
struct RecordedMessage {
  QString text;
  InputTexts boxes;   // the sixteen input texts while the message was open
  QString eveskolts;  // one of the result labels at that moment
  bool chart_cleared = false;
};

class RecordingReporter final : public ErrorReporter {
 public:
  void ShowError(QWidget* parent, const QString& message) override {
    RecordedMessage record{message, {}, {}, false};
    for (const Field field : kAllFields) {
      const auto* box = parent->findChild<QLineEdit*>(
          QString::fromStdString(std::string(FieldName(field)) + "b"));
      record.boxes[Index(field)] = box->text().toStdString();
    }
    record.eveskolts = parent->findChild<QLabel*>("Eveskoltsb")->text();
    const auto* graf = parent->findChild<ChartBox*>("graf");
    const QImage& drawing = graf->Drawing();
    const QRgb back = graf->palette().color(QPalette::Window).rgb();
    record.chart_cleared = true;
    for (int y = 0; y < drawing.height() && record.chart_cleared; ++y) {
      for (int x = 0; x < drawing.width(); ++x) {
        if (drawing.pixel(x, y) != back) {
          record.chart_cleared = false;
          break;
        }
      }
    }
    messages.push_back(record);
  }
  void ShowProblem(QWidget*, const QString& title, const QString& message) override {
    problems.push_back({title, message});
  }
  std::vector<RecordedMessage> messages;
  std::vector<std::pair<QString, QString>> problems;  // title, message
};

// Answers every file dialog with `answer` (empty: cancelled) and keeps the
// name the window suggested; answers the question before closing with
// `unsaved` and keeps the files it was asked about.
class AnsweringChooser final : public FileChooser {
 public:
  QString ChooseOpen(QWidget*, const QString&, const QString&) override { return answer; }
  QString ChooseSave(QWidget*, const QString&, const QString& suggested_name,
                     const QString&) override {
    suggested = suggested_name;
    return answer;
  }
  UnsavedAnswer AskUnsaved(QWidget*, const QString& file) override {
    asked_unsaved.push_back(file);
    return unsaved;
  }
  QString answer;
  QString suggested;
  UnsavedAnswer unsaved = UnsavedAnswer::kCancel;
  std::vector<QString> asked_unsaved;
};

// The window as the program builds it, in the Hungarian number format.
struct WindowFixture {
  RecordingReporter reporter;
  std::unique_ptr<MainWindow> window =
      std::make_unique<MainWindow>(reporter, NumberFormat::Hungarian());

  template <typename T = QWidget>
  T* Child(const char* name) const {
    return window->findChild<T*>(name);
  }
  QLineEdit* Box(Field field) const {
    return window->findChild<QLineEdit*>(
        QString::fromStdString(std::string(FieldName(field)) + "b"));
  }
  QString Label(const char* name) const { return Child<QLabel>(name)->text(); }
  // The start-up texts with some boxes changed, then Calculate.
  void CalculateWith(const std::vector<std::pair<Field, std::string>>& changes) const {
    for (const auto& [field, text] : changes) Box(field)->setText(QString::fromStdString(text));
    QTest::mouseClick(Child<QPushButton>("Command1"), Qt::LeftButton);
  }
  void ShowActive() const {
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
  }
};

inline bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 2000) {
  return QTest::qWaitFor(condition, timeout_ms);
}

}  // namespace zr::test
