// Field values as text.
#include "queries/field_text.h"

#include <cstdio>
#include <cstdlib>

namespace queries {

namespace {
std::string printed(const char* format, auto value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}
}  // namespace

std::string EngineFieldText(const EngineFieldInfo& info, const EngineValue& value, FieldTextUse use) {
  if (value.isNull) return use == FieldTextUse::kRebuild ? "NULL" : "";
  const char* text = value.text.c_str();
  switch (info.m_nType) {
    case kEngineByte:
      if (use == FieldTextUse::kObjectRead) return "";
      return printed("%02hX", static_cast<unsigned short>(std::strtol(text, nullptr, 10) & 0xFF));
    case kEngineInteger:
    case kEngineLong: return printed("%li", std::strtol(text, nullptr, 10));
    case kEngineSingle: return printed("%f", static_cast<double>(std::strtof(text, nullptr)));
    case kEngineDouble: return printed("%lf", std::strtod(text, nullptr));
    case kEngineCurrency:
    case kEngineDate:
    case kEngineText:
    case kEngineMemo: return value.text;
    case kEngineLongBinary: return std::to_string(value.text.size());
    default: return "";
  }
}

}  // namespace queries
