// The text of an engine field value by its type code, as the query reader uses it.
#pragma once

#include <string>

#include "engine/engine.h"

namespace queries {

enum class FieldTextUse {
  kObjectRead,  // reading the query objects: a null gives "", a byte gives ""
  kRebuild,     // reading a query's rows: a null gives "NULL", a byte two hexadecimal digits
};

// Whole numbers "%li", single "%f", double "%lf", text and memo unchanged, currency and date as
// the engine gives them, long binary a number (its length) standing for the value; binary,
// GUID and other types give the empty text.
std::string EngineFieldText(const engine::EngineFieldInfo& info, const engine::EngineValue& value, FieldTextUse use);

}  // namespace queries
