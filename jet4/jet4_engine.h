// The engine interface over our own Jet 4 writer: the Access export target. It creates a new
// database, executes CREATE TABLE statements, opens appending recordsets on
// "select * from [T] where 1=-1" and appends rows given as typed values. Existing databases
// are not opened and no rows are read back.
#pragma once

#include <memory>

#include "engine/engine.h"

namespace jet4 {

std::shared_ptr<engine::EngineDatabase> MakeJet4Database();

}  // namespace jet4
