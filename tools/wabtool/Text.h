// Text helpers of the import and export formats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wab32/WabAbi.h"

namespace wabtool {

bool IsValidUtf8(std::string_view text);

// The length of the line break at `i`: CR LF, LF, a lone CR, and CR CR LF
// (as some phones write it) each end one line; 0 where there is none.
std::size_t LineBreakAt(std::string_view text, std::size_t i);

// For a terminal: control characters (C0, DEL, C1) and bytes that are not
// UTF-8 as escapes (\t, \n, \r, \x1B, \u009B); everything else as it is.
std::string Escaped(std::string_view text);
void AppendEscaped(std::string& out, std::string_view text);

// CR LF and a lone CR as LF.
std::string UnifyLineBreaks(std::string_view text);

std::string ToUpper(std::string_view text); // ASCII only
std::string ToLower(std::string_view text);
std::string_view Trim(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);

// A calendar date (and time of day) in UTC.
struct DateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

// FILETIME for a UTC date and time; nullopt before 1601 or for impossible dates.
std::optional<std::uint64_t> ToFileTime(const DateTime& when);
DateTime FromFileTime(std::uint64_t fileTime);
std::uint64_t PackFileTime(const FILETIME& ft);
FILETIME UnpackFileTime(std::uint64_t value);

// ISO 8601 dates as vCard writes them: 1990-05-17, 19900517, with an
// optional time (T12:30:00, T123000) and zone (Z, +01:00, -0500).
std::optional<DateTime> ParseIsoDate(std::string_view text);
// Adds the numeric forms spreadsheets write: 5/17/1990, 17.05.1990.
std::optional<DateTime> ParseAnyDate(std::string_view text);

} // namespace wabtool
