#include "chart_json.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <variant>

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
  void operator()(const LineDash& d) {
    out_ += R"({"op":"LineDash","pattern":[)";
    for (std::size_t i = 0; i < d.pattern.size(); ++i) {
      if (i > 0) out_ += ',';
      Coordinate(d.pattern[i]);
    }
    out_ += "]}";
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

}  // namespace

std::string ChartOperationJson(const ChartOperation& op) {
  std::string out;
  ChartWriter(out).Write(op);
  return out;
}

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

}  // namespace zr
