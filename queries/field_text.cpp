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

std::string EngineFieldText(const engine::EngineFieldInfo& info, const engine::EngineValue& value, FieldTextUse use) {
  if (value.isNull) return use == FieldTextUse::kRebuild ? "NULL" : "";
  const char* text = value.text.c_str();
  switch (info.m_nType) {
    case engine::kEngineByte:
      if (use == FieldTextUse::kObjectRead) return "";
      return printed("%02hX", static_cast<unsigned short>(std::strtol(text, nullptr, 10) & 0xFF));
    case engine::kEngineInteger:
    case engine::kEngineLong: return printed("%li", std::strtol(text, nullptr, 10));
    case engine::kEngineSingle: return printed("%f", static_cast<double>(std::strtof(text, nullptr)));
    case engine::kEngineDouble: return printed("%lf", std::strtod(text, nullptr));
    case engine::kEngineCurrency:
    case engine::kEngineDate:
    case engine::kEngineText:
    case engine::kEngineMemo: return value.text;
    case engine::kEngineLongBinary: return std::to_string(value.text.size());
    default: return "";
  }
}

}  // namespace queries
