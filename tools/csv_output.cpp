#include "csv_output.h"

#include "calculation_run.h"

namespace zr {
namespace {

// Quoted, doubling its quotes, when it holds the delimiter, a quote or a
// line break.
std::string Cell(const std::string& text, char delimiter) {
  if (text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string TextOf(const nlohmann::ordered_json& value) {
  return value.is_string() ? value.get<std::string>() : std::string();
}

std::string Join(const std::vector<std::string>& cells, char delimiter) {
  std::string row;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) row += delimiter;
    row += Cell(cells[i], delimiter);
  }
  return row;
}

}  // namespace

char CsvDelimiter(const NumberFormat& format) {
  return format.decimal_separator == "," ? ';' : ',';
}

std::string CsvHeader(const std::vector<Sweep>& sweeps, char delimiter) {
  std::vector<std::string> cells = {"line"};
  for (const Sweep& s : sweeps) cells.emplace_back(FieldName(s.field));
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    cells.emplace_back(LabelName(static_cast<ResultLabel>(i)));
  }
  cells.emplace_back("fault");
  cells.emplace_back("error");
  return Join(cells, delimiter);
}

std::string CsvRow(std::uint64_t line_number, const std::vector<Sweep>& sweeps,
                   const nlohmann::ordered_json& output, char delimiter) {
  std::vector<std::string> cells = {std::to_string(line_number)};
  const bool error = output.contains("error");
  for (const Sweep& s : sweeps) {
    const std::string name(FieldName(s.field));
    cells.push_back(error ? std::string() : TextOf(output["sweep"][name]));
  }
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const std::string name(LabelName(static_cast<ResultLabel>(i)));
    cells.push_back(error ? std::string() : TextOf(output["labels"][name]));
  }
  cells.push_back(error ? std::string() : TextOf(output["fault"]));
  cells.push_back(error ? TextOf(output["error"]) : std::string());
  return Join(cells, delimiter);
}

}  // namespace zr
