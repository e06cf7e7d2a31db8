#include "chart_json.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <variant>

namespace zr {
namespace {

using json = nlohmann::ordered_json;

// A coordinate's value as the shortest text that reads back as the same
// single-precision number, taken as a double.
double ShortestDouble(float value) {
  char text[32];  // a float's shortest text has at most 9 digits, a sign and an exponent
  const char* end = fmt::format_to_n(text, sizeof text, FMT_COMPILE("{}"), value).out;
  double shortest = value;
  fast_float::from_chars(text, end, shortest);
  return shortest;
}

// Writes chart operations as JSON text straight into a string. A chart has
// hundreds of operations; as a document of small objects they cost more to
// build, write out and free than all the rest of the line. Numbers are put
// together in a small buffer and handed to the string a few hundred bytes at
// a time (one append per piece costs more than the piece, in WebAssembly
// above all); they are written as the JSON library writes them, so they read
// exactly as they would in a document, and so are strings, by the library.
class ChartWriter {
 public:
  explicit ChartWriter(std::string& out)
      : out_(out),
        strings_(nlohmann::detail::output_adapter<char>(out), ' ', json::error_handler_t::replace) {
  }

  void Write(const ChartOperation& op) { std::visit(*this, op); }
  // Hands over what is still in the buffer; call once the operations are written.
  void Finish() {
    out_.append(buffer_, static_cast<std::size_t>(at_ - buffer_));
    at_ = buffer_;
  }

  void Char(char c) {
    *Room(1) = c;
    ++at_;
  }

  void operator()(const Cls&) { Text(R"({"op":"Cls"})"); }
  void operator()(const DrawWidth& d) {
    Text(R"({"op":"DrawWidth","width":)");
    Whole(d.width);
    Char('}');
  }
  void operator()(const Line& l) {
    Text(R"({"op":"Line","x1":)");
    Coordinate(l.x1);
    Text(R"(,"y1":)");
    Coordinate(l.y1);
    Text(R"(,"x2":)");
    Coordinate(l.x2);
    Text(R"(,"y2":)");
    Coordinate(l.y2);
    Text(R"(,"color":)");
    Color(l.color);
    Char('}');
  }
  void operator()(const ForeColor& f) {
    Text(R"({"op":"ForeColor","color":)");
    Color(f.color);
    Char('}');
  }
  void operator()(const CurrentX& c) {
    Text(R"({"op":"CurrentX","x":)");
    Coordinate(c.x);
    Char('}');
  }
  void operator()(const CurrentY& c) {
    Text(R"({"op":"CurrentY","y":)");
    Coordinate(c.y);
    Char('}');
  }
  void operator()(const FontName& f) {
    Text(R"({"op":"FontName","name":)");
    String(f.name);
    Char('}');
  }
  void operator()(const Print& p) {
    if (const auto* text = std::get_if<std::string>(&p.value)) {
      Text(R"({"op":"Print","text":)");
      String(*text);
    } else if (const auto* whole = std::get_if<std::int16_t>(&p.value)) {
      Text(R"({"op":"Print","int":)");
      Whole(*whole);
    } else {
      Text(R"({"op":"Print","real":)");
      Number(std::get<double>(p.value));
    }
    Char('}');
  }
  void operator()(const LineDash& d) {
    Text(R"({"op":"LineDash","pattern":[)");
    for (std::size_t i = 0; i < d.pattern.size(); ++i) {
      if (i > 0) Char(',');
      Coordinate(d.pattern[i]);
    }
    Text("]}");
  }

 private:
  // The most one piece (a number, a name) puts into the buffer.
  static constexpr std::size_t kMaxPiece = 64;

  // Room for `bytes` more, handing the buffer over when it is short of them.
  char* Room(std::size_t bytes) {
    if (static_cast<std::size_t>(buffer_ + sizeof buffer_ - at_) < bytes) Finish();
    return at_;
  }
  template <std::size_t N>
  void Text(const char (&text)[N]) {
    static_assert(N - 1 <= kMaxPiece);
    std::memcpy(Room(N - 1), text, N - 1);
    at_ += N - 1;
  }
  void String(const std::string& text) {
    Finish();
    strings_.dump(json(text), false, false, 0);
  }
  void Whole(std::int64_t n) {
    char* at = Room(24);
    at_ = std::to_chars(at, at + 24, n).ptr;
  }
  // Whole values as JSON integers, others as the library writes a double
  // (null for what JSON cannot hold).
  void Number(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 9.0e15) {
      Whole(static_cast<std::int64_t>(value));
    } else if (!std::isfinite(value)) {
      Text("null");
    } else {
      char* at = Room(kMaxPiece);
      at_ = nlohmann::detail::to_chars(at, at + kMaxPiece, value);
    }
  }
  void Coordinate(float value) {
    Number(std::trunc(value) == value ? value : ShortestDouble(value));
  }
  void Color(const zr::Color& c) {
    Char('[');
    Whole(c.red);
    Char(',');
    Whole(c.green);
    Char(',');
    Whole(c.blue);
    Char(']');
  }

  std::string& out_;
  nlohmann::detail::serializer<json> strings_;
  char buffer_[512];
  char* at_ = buffer_;
};

}  // namespace

std::string ChartOperationJson(const ChartOperation& op) {
  std::string out;
  ChartWriter writer(out);
  writer.Write(op);
  writer.Finish();
  return out;
}

std::string ChartJson(const ChartOperations& chart) {
  std::string out;
  out.reserve(64 * chart.size() + 2);
  out += '[';
  ChartWriter writer(out);
  for (std::size_t i = 0; i < chart.size(); ++i) {
    if (i > 0) writer.Char(',');
    writer.Write(chart[i]);
  }
  writer.Finish();
  out += ']';
  return out;
}

}  // namespace zr
