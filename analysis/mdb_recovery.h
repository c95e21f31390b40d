// MdbRecovery: the analysis of one database file. It reads the file page by page (never
// through a database engine), builds the page map and the table list, and drives the later
// steps (schema statements, saved queries) through hooks that the application installs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/decrypting_file.h"
#include "analysis/format_layout.h"
#include "analysis/model.h"
#include "analysis/progress_channel.h"

namespace engine {
class EngineDatabase;
}

namespace analysis {

class MdbRecovery;

// Steps of Analyze that live in higher layers (schema statements, temporary catalog database
// and queries). Unset steps are skipped.
struct AnalysisSteps {
  // Per table, after its schema is read and before it is handed over: column properties kept
  // outside the definition (calculated columns' expressions and result types).
  std::function<void(MdbRecovery&, Table&)> readColumnProperties;
  std::function<void(MdbRecovery&)> buildSchemaStatements;
  std::function<void(MdbRecovery&)> buildQueries;
};

// Asked for the password of an encrypted file, on the analysis thread; afterWrongPassword
// says the last one given did not open it. No value: the user gives none (or cancels).
using PasswordSource = std::function<std::optional<std::string>(bool afterWrongPassword)>;

// The messages of a file that cannot be opened without (the right) password.
constexpr const char* kEncryptedFileMessage = "This file is encrypted. Enter its password to open it.";
constexpr const char* kWrongPasswordMessage = "The password is not correct.";

class MdbRecovery {
 public:
  explicit MdbRecovery(ProgressChannel& channel = TheProgressChannel());
  ~MdbRecovery();
  MdbRecovery(const MdbRecovery&) = delete;
  MdbRecovery& operator=(const MdbRecovery&) = delete;

  // Runs the whole analysis of one file; true when it ran to its end (also after a stop
  // during the page scan or schema reading), false when it stopped early.
  bool Analyze(const std::string& filePath);

  // File access. Each returns -1 when no file is open.
  bool OpenDatabaseFile(const std::string& filePath);
  int64_t ReadPageAt(uint8_t* buffer, uint64_t fileOffset);
  int64_t ReadPageByIndex(uint8_t* buffer, uint64_t pageIndex);
  // -1 (buffer untouched) when the number is not in the page map.
  int64_t ReadPageByNumber(uint8_t* buffer, uint32_t pageNumber);
  bool IsFileOpen() const { return file.isOpen(); }
  // Reads page 0's encryption fields and, for an encrypted file, asks passwordSource until a
  // password opens it. False (with the message shown and logged) when the file stays locked.
  bool UnlockFile();
  // True when the open file's pages are decrypted on reading.
  bool IsEncrypted() const { return file.encrypted(); }
  int64_t FileSize() const { return file.size(); }

  // Format detection: 4 for 4096-byte pages, 0 for 2048-byte pages (refused), -1 for neither.
  int DetectFormat();
  void FindPageSignatures();
  int64_t FindFirstValidPageOffset();

  // Page scan: the number of page-map entries, or -1 when no file is open.
  int64_t ScanPages();
  int64_t ScanPagesFromOffset(uint64_t startOffset);

  // Table discovery (schema reading).
  int DecodeColumnEntry(const std::vector<uint8_t>& pageBuffer, Table& table, int32_t offset);
  int DecodeTableDefinition(const std::vector<uint8_t>& definition, Table& table);
  int DiscoverTables();
  // The schema of one table read on its own, for a table that is not listed (the hidden data
  // tables of complex columns, MSysComplexColumns): 1, or 0 when it does not decode.
  int ReadTableSchema(uint32_t tdefPage, Table& table);
  int ReadCatalogNames();

  ProgressChannel& Channel() { return *channel; }

  std::string path;
  int32_t format = 0;
  DecryptingFile file;
  uint64_t baseOffset = 0;
  int32_t oleFileCount = 0;
  int32_t rowIsLookup = 0;
  int32_t rowIsDeleted = 0;
  FormatLayout layout;
  std::string tempDbPath;
  ProgressChannel* channel;
  // The engine database: the temporary catalog database during an analysis, the Access export
  // target during an Access export, never both at once.
  std::shared_ptr<engine::EngineDatabase> m_Obj_DAO_Database;

  AnalysisSteps steps;
  PasswordSource passwordSource;
  // What the record layer reads once per file and keeps (the values of complex columns);
  // dropped when another file is opened.
  std::shared_ptr<void> recordsCache;

 private:
  bool layoutMatches(int pageSize);
};

}  // namespace analysis
