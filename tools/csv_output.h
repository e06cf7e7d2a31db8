#pragma once
// zeltano-eval's CSV output, for spreadsheets: a header, then one row per
// output object with the line number, the sweep's fields, the eleven
// labels, the fault and the error.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "eval_command_line.h"

namespace zr {

// ";" where the decimal separator is "," (as spreadsheets there expect),
// else ",".
char CsvDelimiter(const NumberFormat& format);

std::string CsvHeader(const std::vector<Sweep>& sweeps, char delimiter);

// `output` is an evaluator output object (or an error line) of input line
// `line_number` (from 1).
std::string CsvRow(std::uint64_t line_number, const std::vector<Sweep>& sweeps,
                   const nlohmann::ordered_json& output, char delimiter);

}  // namespace zr
