#include "csv_output.h"

namespace zr {
namespace {

// Appends a cell: quoted, its quotes doubled, when it holds the delimiter, a
// quote or a line break.
void AppendCell(std::string& row, std::string_view text, char delimiter) {
  const char special[] = {delimiter, '"', '\r', '\n'};
  if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
    row += text;
    return;
  }
  row += '"';
  for (char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

// The row's cells after the line number, each after a delimiter.
class Row {
 public:
  Row(std::uint64_t line_number, char delimiter)
      : text_(std::to_string(line_number)), delimiter_(delimiter) {}
  Row& Cell(std::string_view text) {
    text_ += delimiter_;
    AppendCell(text_, text, delimiter_);
    return *this;
  }
  Row& Cell(const std::optional<std::string>& text) {
    return Cell(text ? std::string_view(*text) : std::string_view());
  }
  Row& Empty(std::size_t count) {
    text_.append(count, delimiter_);
    return *this;
  }
  std::string Text() && { return std::move(text_); }

 private:
  std::string text_;
  char delimiter_;
};

}  // namespace

char CsvDelimiter(const NumberFormat& format) {
  return format.decimal_separator == "," ? ';' : ',';
}

std::string CsvHeader(const std::vector<Sweep>& sweeps, char delimiter) {
  std::string row = "line";
  const auto cell = [&](std::string_view name) {
    row += delimiter;
    AppendCell(row, name, delimiter);
  };
  for (const Sweep& s : sweeps) cell(FieldName(s.field));
  for (std::size_t i = 0; i < kResultLabelCount; ++i) cell(LabelName(static_cast<ResultLabel>(i)));
  cell("fault");
  cell("error");
  return row;
}

std::string CsvRow(std::uint64_t line_number,
                   const std::vector<std::pair<Field, std::string>>& sweep_texts,
                   const RunOutcome& outcome, char delimiter) {
  Row row(line_number, delimiter);
  for (const auto& point : sweep_texts) row.Cell(std::string_view(point.second));
  for (const std::optional<std::string>& label : outcome.labels) row.Cell(label);
  return std::move(row.Cell(outcome.fault).Empty(1)).Text();
}

std::string CsvErrorRow(std::uint64_t line_number, std::size_t sweep_count, std::string_view error,
                        char delimiter) {
  Row row(line_number, delimiter);
  return std::move(row.Empty(sweep_count + kResultLabelCount + 1).Cell(error)).Text();
}

}  // namespace zr
