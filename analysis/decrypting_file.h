// The database file as the analysis reads it: read-only, positional reads, and for an
// encrypted file every page decrypted on its way in (page number = file offset / 4096), so
// everything above sees plain pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "analysis/page_cipher.h"
#include "platform/read_only_file.h"

namespace analysis {

class DecryptingFile {
 public:
  // Opens the file for reading; any cipher of an earlier file is dropped.
  bool open(const std::string& path);
  void close();
  bool isOpen() const { return file_.isOpen(); }
  int64_t size() const { return file_.size(); }
  // As platform::ReadOnlyFile::readAt, with the bytes decrypted when a cipher is set.
  int64_t readAt(int64_t offset, void* buffer, size_t count) const;
  // The stored bytes, never decrypted (page 0's encryption fields).
  int64_t readRawAt(int64_t offset, void* buffer, size_t count) const { return file_.readAt(offset, buffer, count); }

  void setCipher(std::shared_ptr<const PageCipher> cipher) { cipher_ = std::move(cipher); }
  bool encrypted() const { return cipher_ != nullptr; }

 private:
  platform::ReadOnlyFile file_;
  std::shared_ptr<const PageCipher> cipher_;
};

}  // namespace analysis
