// The engine interface on SQLite. It holds the temporary catalog database, and stands in for
// the Access export target in tests. Our statements run as they are: SQLite reads [bracketed]
// names, and our type names (COUNTER, TEXT(255), MEMO, ...) are kept as declared types, from
// which each field's engine type code is taken.
#pragma once

#include <memory>
#include <string>

#include "engine/engine.h"

namespace queries {

std::shared_ptr<engine::EngineDatabase> MakeSqliteDatabase();

// The engine type code of a declared column type ("TEXT(255)" gives engine::kEngineText, "COUNTER"
// engine::kEngineLong); 0 for a type name that is none of ours.
int EngineTypeOfDeclaredType(const std::string& declaredType);

}  // namespace queries
