// Strict number parsing for the command-line tools' values (lumora-cli, lumora-vcam): the
// whole text must be the number. Pure functions; any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// Nothing when the text is not a whole number or does not fit a long.
std::optional<long> ParseInteger(std::string_view text);
// Whether the text is written as a whole number ("-12"), however large.
bool IsWholeNumberText(std::string_view text);
std::optional<double> ParseDecimal(std::string_view text);

// "a,b,c" into its parts (an empty text gives one empty part).
std::vector<std::string> SplitList(std::string_view text, char separator = ',');

// Every part an integer, or none.
std::optional<std::vector<long>> ParseIntegerList(std::string_view text, char separator = ',');

// The message for a number outside what an option takes: "<what> is out of range (<range>)",
// for example "--fps 0 is out of range (1 to 240)".
std::string OutOfRange(const std::string& what, const std::string& range);

}  // namespace lumora
