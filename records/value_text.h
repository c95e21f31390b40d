// The display text of a typed value, for the record grid, the CLI's text output and the record
// texts: the one place where a value becomes what a person reads. Every text is UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/model.h"
#include "support/value.h"

namespace records {

// Appends the display text: "NULL" for null; integers in decimal; BIT as 1 or 0; currency with
// 4 decimals; SINGLE and DOUBLE with as many decimals as their magnitude leaves of 6 or 15
// significant digits; dates as "%m/%d/%Y %H:%M:%S"; NUMERIC zero-padded by precision and scale;
// GUIDs in registry form; binary values in lower-case hexadecimal; texts as they are; extended
// dates with their seven fraction digits; multi-value lists joined by "; "; attachments as
// "2 files: a.jpg, b.pdf" (an empty list or no files: nothing). A column type without a value
// form (codes of no name) shows its type name.
void AppendValueText(const analysis::Column& column, const support::Value& value, std::string& out);
std::string ValueText(const analysis::Column& column, const support::Value& value);

// Appends the lossless text of a value that is no text and no binary data: the display text,
// except that SINGLE and DOUBLE values are the shortest text that reads back as the same
// number, and dates carry their fraction of a second where the stored value has one (a day
// count outside the calendar is written as the number itself). For the writers of text files.
void AppendLosslessText(const analysis::Column& column, const support::Value& value, std::string& out);

// The pieces, for writers that share a form with the display.
void AppendCurrencyText(int64_t tenThousandths, std::string& out);
void AppendNumericText(const support::NumericValue& numeric, std::string& out);
void AppendSingleText(float value, std::string& out);
void AppendDoubleText(double value, std::string& out);
void AppendHexText(const uint8_t* bytes, size_t size, std::string& out);
void AppendGuidText(const uint8_t* bytes16, std::string& out);

// The date text of a day count since 30 December 1899 ("%m/%d/%Y %H:%M:%S"), "NULL" outside the
// years 1 to 9999 or for a value that is not a number. withFraction adds the fraction of a
// second (to the microsecond, trailing zeros dropped) where the time of day has one, instead of
// rounding to the second.
std::string DateText(double days, bool withFraction = false);

// True for the type codes whose values have a form of their own (all but BIT and the codes of
// no name).
bool HasValueForm(int type);

}  // namespace records
