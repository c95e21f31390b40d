// The JSON form of a typed value for `records --json`: null as null, a text as itself, numbers,
// dates and the other fixed forms as their lossless text, and binary data (BINARY, OLE objects)
// as {"bytes": N, "sha256": "..."} of the stored bytes, with "file" naming the saved object when
// the user chose a folder for the objects.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/model.h"
#include "support/value.h"

namespace cli {

// Saves binary values into a folder the user named, each in a new file that never replaces
// one already there: "Ole<n>.<extension>" holds an OLE object's inner object (its wrapper
// stripped, the extension by its kind), "Binary<n>.bin" a BINARY value's bytes.
class ObjectSaver {
 public:
  explicit ObjectSaver(std::string folder) : folder_(std::move(folder)) {}
  // The new file's path; empty when it could not be written.
  std::string save(const support::Value& value);

 private:
  std::string folder_;
  int next_ = 1;
};

// The lower-case hexadecimal SHA-256 digest of bytes.
std::string Sha256Hex(const std::vector<uint8_t>& bytes);

// saver may be null: binary values are then described, not saved.
nlohmann::json ValueJson(const analysis::Column& column, const support::Value& value, ObjectSaver* saver);

}  // namespace cli
