#include "csv_output.h"

namespace zr {
namespace {

// A row: its first cell, then each cell after a delimiter, quoted (its
// quotes doubled) when it holds the delimiter, a quote or a line break.
class Row {
 public:
  Row(std::string first, char delimiter) : text_(std::move(first)), delimiter_(delimiter) {}
  Row& Cell(std::string_view text) {
    text_ += delimiter_;
    const char special[] = {delimiter_, '"', '\r', '\n'};
    if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
      text_ += text;
      return *this;
    }
    text_ += '"';
    for (char c : text) {
      if (c == '"') text_ += '"';
      text_ += c;
    }
    text_ += '"';
    return *this;
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

// A label's or the fault's text; an empty cell for none.
std::string_view TextOf(const std::optional<std::string>& text) {
  return text ? std::string_view(*text) : std::string_view();
}

}  // namespace

char CsvDelimiter(const NumberFormat& format) {
  return format.decimal_separator == "," ? ';' : ',';
}

std::string CsvHeader(const std::vector<Sweep>& sweeps, char delimiter) {
  Row row("line", delimiter);
  for (const Sweep& s : sweeps) row.Cell(FieldName(s.field));
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    row.Cell(LabelName(static_cast<ResultLabel>(i)));
  }
  return std::move(row.Cell("fault").Cell("error")).Text();
}

std::string CsvRow(std::uint64_t line_number,
                   const std::vector<std::pair<Field, std::string>>& sweep_texts,
                   const RunOutcome& outcome, char delimiter) {
  Row row(std::to_string(line_number), delimiter);
  for (const auto& point : sweep_texts) row.Cell(point.second);
  for (const std::optional<std::string>& label : outcome.labels) row.Cell(TextOf(label));
  return std::move(row.Cell(TextOf(outcome.fault)).Empty(1)).Text();
}

std::string CsvErrorRow(std::uint64_t line_number, std::size_t sweep_count, std::string_view error,
                        char delimiter) {
  Row row(std::to_string(line_number), delimiter);
  return std::move(row.Empty(sweep_count + kResultLabelCount + 1).Cell(error)).Text();
}

}  // namespace zr
