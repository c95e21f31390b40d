// ReadQueries.
#include "queries/query_reader.h"

#include <cstdlib>

#include "engine/engine.h"
#include "queries/field_text.h"
#include "queries/query_rebuild.h"
#include "support/execution_log.h"

namespace queries {

namespace {
// Catalog rows keep flag bits above the object type (ACE files set a high one on query objects);
// the type is the low 7 bits, as the catalog reader takes it.
constexpr const char* kObjectSelect = "select LvExtra ,Id ,Name from ASysObjects where (Type & 127) = 5";
constexpr const char* kHiddenPrefix = "~sq_";
constexpr const char* kRecoveredQueryName = "Recovered Query ";
}  // namespace

bool IsHiddenQueryName(const std::string& name) {
  return name.rfind(kHiddenPrefix, 0) == 0;
}

analysis::Queries* PublishQuery(analysis::ProgressChannel& channel, std::unique_ptr<analysis::Queries> query) {
  channel.handOver();
  analysis::Queries* published = query.get();
  analysis::g_queries.push_back(std::move(query));
  channel.queryToAdd = published;
  channel.queriesFound += 1;
  channel.handOver();
  return published;
}

void ReadQueries(analysis::MdbRecovery& recovery) {
  try {
    if (!recovery.m_Obj_DAO_Database) throw engine::EngineError("no database");
    auto recordset = recovery.m_Obj_DAO_Database->NewRecordset();
    recordset->Open(kObjectSelect);
    if (recordset->GetRecordCount() != 0) {
      const int fieldCount = recordset->GetFieldCount();
      int unnamed = 0;
      while (!recordset->IsEOF()) {
        int id = 0;
        std::string name;
        // Every query object is rebuilt from its rows, also one without an extra long value
        // (the record sources of forms and reports have none).
        for (int i = 0; i < fieldCount; ++i) {
          const engine::EngineFieldInfo info = recordset->GetFieldInfo(i);
          const std::string text = EngineFieldText(info, recordset->GetFieldValue(i), FieldTextUse::kObjectRead);
          if (info.m_strName == "Id") id = std::atoi(text.c_str());
          if (info.m_strName == "Name") name = text;
        }
        // No list entry goes without a name: a catalog row that lost its own gets one.
        if (name.empty()) name = kRecoveredQueryName + std::to_string(++unnamed);
        auto query = std::make_unique<analysis::Queries>();
        query->id = id;
        query->name = name;
        query->sqlText = RebuildQuerySql(recovery, id);
        query->hidden = IsHiddenQueryName(name);
        PublishQuery(*recovery.channel, std::move(query));
        recordset->MoveNext();
      }
    }
    recordset->Close();
  } catch (...) {
    support::LogError(std::string("RecordSet select query failed.. \r\n") + kObjectSelect);
  }
  recovery.channel->done = 1;
}

}  // namespace queries
