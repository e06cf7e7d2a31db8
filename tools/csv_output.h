#pragma once
// zeltano-eval's CSV output, for spreadsheets: a header, then one row per
// output object with the line number, the sweep's fields, the eleven
// labels, the fault and the error.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calculation_run.h"
#include "eval_command_line.h"

namespace zr {

// ";" where the decimal separator is "," (as spreadsheets there expect),
// else ",".
char CsvDelimiter(const NumberFormat& format);

std::string CsvHeader(const std::vector<Sweep>& sweeps, char delimiter);

// The row of input line `line_number` (from 1): the texts put in place for
// the sweep's point (in the sweeps' order), the run's labels and fault.
std::string CsvRow(std::uint64_t line_number,
                   const std::vector<std::pair<Field, std::string>>& sweep_texts,
                   const RunOutcome& outcome, char delimiter);

// The row of a line that could not be evaluated: only its error.
std::string CsvErrorRow(std::uint64_t line_number, std::size_t sweep_count, std::string_view error,
                        char delimiter);

}  // namespace zr
