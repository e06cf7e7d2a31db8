#include "outcome_json.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <variant>

#include "analysis_json.h"

namespace zr {
namespace {

using json = nlohmann::ordered_json;

// A coordinate's value as the shortest text that reads back as the same
// single-precision number, taken as a double.
double ShortestDouble(float value) {
  char text[32];  // a float's shortest text has at most 9 digits, a sign and an exponent
  const char* end = fmt::format_to_n(text, sizeof text, FMT_STRING("{}"), value).out;
  double shortest = value;
  fast_float::from_chars(text, end, shortest);
  return shortest;
}

LineResult ErrorResult(std::string message) {
  return LineResult{json{{"error", std::move(message)}}, true, std::nullopt};
}

// A key as error messages quote it: at most 64 bytes, cut at a character.
std::string Quoted(std::string_view key) {
  constexpr std::size_t kMax = 64;
  if (key.size() <= kMax) return std::string(key);
  std::size_t cut = kMax;
  while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
  return std::string(key.substr(0, cut)) + "...";
}

// Reads one input line as it is parsed: an object of distinct input fields
// with string values. It stops the parser at the first thing that is not,
// so no line costs more than one pass over its bytes.
class InputReader final : public json::json_sax_t {
 public:
  explicit InputReader(InputTexts texts) : texts_(std::move(texts)) {}

  const InputTexts& Texts() const { return texts_; }
  std::string Error() && { return std::move(error_); }

  bool start_object(std::size_t) override {
    if (in_object_) return NotAString();
    in_object_ = true;
    return true;
  }
  bool key(string_t& key) override {
    const auto found = std::find_if(kAllFields.begin(), kAllFields.end(),
                                    [&](Field f) { return FieldName(f) == key; });
    if (found == kAllFields.end()) return Fail("unknown field: " + Quoted(key));
    if (seen_[Index(*found)]) return Fail("duplicate field: " + key);
    seen_[Index(*found)] = true;
    field_ = *found;
    return true;
  }
  bool string(string_t& value) override {
    if (!in_object_) return NotAnObject();
    texts_[Index(field_)] = std::move(value);
    return true;
  }
  bool end_object() override { return true; }
  bool null() override { return NotAString(); }
  bool boolean(bool) override { return NotAString(); }
  bool number_integer(number_integer_t) override { return NotAString(); }
  bool number_unsigned(number_unsigned_t) override { return NotAString(); }
  bool number_float(number_float_t, const string_t&) override { return NotAString(); }
  bool binary(binary_t&) override { return NotAString(); }
  bool start_array(std::size_t) override { return NotAString(); }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception&) override {
    return Fail("the line is not valid JSON (error at byte " + std::to_string(position) + ")");
  }

 private:
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  // A value where a box text belongs, or anything but an object for the line.
  bool NotAString() {
    if (!in_object_) return NotAnObject();
    return Fail("the value of " + std::string(FieldName(field_)) + " is not a string");
  }
  bool NotAnObject() { return Fail("the line is not a JSON object"); }

  InputTexts texts_;
  std::array<bool, kFieldCount> seen_{};
  Field field_ = Field::Elettartam;
  bool in_object_ = false;
  std::string error_;
};

// Writes chart operations as JSON text straight into a string. A chart has
// hundreds of operations; as a document of small objects they cost more to
// build, write out and free than all the rest of the line. Values go
// through the JSON library's own writer, so numbers and strings read
// exactly as they would in a document.
class ChartWriter {
 public:
  explicit ChartWriter(std::string& out)
      : out_(out),
        values_(nlohmann::detail::output_adapter<char>(out), ' ', json::error_handler_t::replace) {}

  void Write(const ChartOperation& op) { std::visit(*this, op); }

  void operator()(const Cls&) { out_ += R"({"op":"Cls"})"; }
  void operator()(const DrawWidth& d) {
    out_ += R"({"op":"DrawWidth","width":)";
    Whole(d.width);
    out_ += '}';
  }
  void operator()(const Line& l) {
    out_ += R"({"op":"Line","x1":)";
    Coordinate(l.x1);
    out_ += R"(,"y1":)";
    Coordinate(l.y1);
    out_ += R"(,"x2":)";
    Coordinate(l.x2);
    out_ += R"(,"y2":)";
    Coordinate(l.y2);
    out_ += R"(,"color":)";
    Color(l.color);
    out_ += '}';
  }
  void operator()(const ForeColor& f) {
    out_ += R"({"op":"ForeColor","color":)";
    Color(f.color);
    out_ += '}';
  }
  void operator()(const CurrentX& c) {
    out_ += R"({"op":"CurrentX","x":)";
    Coordinate(c.x);
    out_ += '}';
  }
  void operator()(const CurrentY& c) {
    out_ += R"({"op":"CurrentY","y":)";
    Coordinate(c.y);
    out_ += '}';
  }
  void operator()(const FontName& f) {
    out_ += R"({"op":"FontName","name":)";
    Value(f.name);
    out_ += '}';
  }
  void operator()(const Print& p) {
    if (const auto* text = std::get_if<std::string>(&p.value)) {
      out_ += R"({"op":"Print","text":)";
      Value(*text);
    } else if (const auto* whole = std::get_if<std::int16_t>(&p.value)) {
      out_ += R"({"op":"Print","int":)";
      Whole(*whole);
    } else {
      out_ += R"({"op":"Print","real":)";
      Number(std::get<double>(p.value));
    }
    out_ += '}';
  }

 private:
  void Value(const json& value) { values_.dump(value, false, false, 0); }
  void Whole(std::int64_t n) {
    char digits[24];
    out_.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
  }
  // Whole values as JSON integers, others as the library writes a double.
  void Number(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 9.0e15) {
      Whole(static_cast<std::int64_t>(value));
    } else {
      Value(value);
    }
  }
  void Coordinate(float value) {
    Number(std::trunc(value) == value ? value : ShortestDouble(value));
  }
  void Color(const zr::Color& c) {
    out_ += '[';
    Whole(c.red);
    out_ += ',';
    Whole(c.green);
    out_ += ',';
    Whole(c.blue);
    out_ += ']';
  }

  std::string& out_;
  nlohmann::detail::serializer<json> values_;
};

std::string ChartJson(const ChartOperations& chart) {
  std::string out;
  out.reserve(64 * chart.size() + 2);
  ChartWriter writer(out);
  out += '[';
  for (std::size_t i = 0; i < chart.size(); ++i) {
    if (i > 0) out += ',';
    writer.Write(chart[i]);
  }
  out += ']';
  return out;
}

}  // namespace

std::string ChartOperationJson(const ChartOperation& op) {
  std::string out;
  ChartWriter(out).Write(op);
  return out;
}

json OutcomeToJson(const RunOutcome& outcome) {
  json findings = json::array();
  for (const ValidationFinding& f : outcome.findings) {
    findings.push_back(
        {{"field", FieldName(f.field)}, {"message", f.message}, {"replacement", f.replacement}});
  }
  json texts = json::object();
  for (Field f : kAllFields) texts[std::string(FieldName(f))] = outcome.corrected[Index(f)];

  json labels = json::object();
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const std::string name(LabelName(static_cast<ResultLabel>(i)));
    labels[name] = outcome.labels[i] ? json(*outcome.labels[i]) : json(nullptr);
  }

  json out = json::object();
  out["findings"] = std::move(findings);
  out["texts"] = std::move(texts);
  out["labels"] = std::move(labels);
  out["fault"] = outcome.fault ? json(*outcome.fault) : json(nullptr);
  return out;
}

std::string LineText(const LineResult& result) {
  constexpr auto kReplace = json::error_handler_t::replace;
  if (!result.chart) return result.output.dump(-1, ' ', false, kReplace);
  // The members in order, the chart right after the fault.
  std::string text = "{";
  for (const auto& [key, value] : result.output.items()) {
    if (text.size() > 1) text += ',';
    text += json(key).dump(-1, ' ', false, kReplace);
    text += ':';
    text += value.dump(-1, ' ', false, kReplace);
    if (key == "fault") {
      text += R"(,"chart":)";
      text += ChartJson(*result.chart);
    }
  }
  text += '}';
  return text;
}

LineResult TooLongLineResult() {
  return ErrorResult("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
}

std::variant<InputTexts, LineResult> ReadLine(std::string_view line, const NumberFormat& format) {
  try {
    if (line.size() > kMaxLineBytes) return TooLongLineResult();
    // The JSON reader would take a NUL for the end of the line.
    if (line.find('\0') != std::string_view::npos) {
      return ErrorResult("the line contains a NUL byte");
    }
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
      return ErrorResult("the line is empty");
    }
    InputReader reader(StartupTexts(format));
    if (!json::sax_parse(line.begin(), line.end(), &reader)) {
      return ErrorResult(std::move(reader).Error());
    }
    return reader.Texts();
  } catch (const std::bad_alloc&) {
    return ErrorResult("not enough memory to evaluate the line");
  } catch (const std::exception& e) {
    return ErrorResult(std::string("the line could not be evaluated: ") + e.what());
  }
}

LineResult EvaluateTexts(InputTexts texts, const NumberFormat& format, const LineOptions& options) {
  try {
    for (const auto& [field, text] : options.overrides) texts[Index(field)] = text;
    RunOutcome outcome = CalculationRun(texts, format);
    json out = OutcomeToJson(outcome);
    if (!options.overrides.empty()) {
      json sweep = json::object();
      for (const auto& [field, text] : options.overrides)
        sweep[std::string(FieldName(field))] = text;
      out["sweep"] = std::move(sweep);
    }
    if (options.analysis) out["analysis"] = AnalysisToJson(Analyse(outcome.inputs, format), format);
    return LineResult{std::move(out), false, std::move(outcome.chart)};
  } catch (const std::bad_alloc&) {
    return ErrorResult("not enough memory to evaluate the line");
  } catch (const std::exception& e) {
    return ErrorResult(std::string("the line could not be evaluated: ") + e.what());
  }
}

LineResult EvaluateLine(std::string_view line, const NumberFormat& format,
                        const LineOptions& options) {
  std::variant<InputTexts, LineResult> read = ReadLine(line, format);
  if (auto* error = std::get_if<LineResult>(&read)) return std::move(*error);
  return EvaluateTexts(std::move(std::get<InputTexts>(read)), format, options);
}

}  // namespace zr
