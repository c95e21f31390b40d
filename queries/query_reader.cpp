// ReadQueries.
#include "queries/query_reader.h"

#include <cstdlib>

#include "engine/engine.h"
#include "queries/field_text.h"
#include "queries/query_rebuild.h"
#include "support/execution_log.h"

namespace queries {

namespace {
constexpr const char* kObjectSelect = "select LvExtra ,Id ,Name from ASysObjects where Type = 5";
}  // namespace

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
      while (!recordset->IsEOF()) {
        int id = 0;
        std::string name;
        bool noDefinition = false;
        for (int i = 0; i < fieldCount; ++i) {
          const engine::EngineFieldInfo info = recordset->GetFieldInfo(i);
          const std::string text = EngineFieldText(info, recordset->GetFieldValue(i), FieldTextUse::kObjectRead);
          // An object without its extra long value is no saved query: it is published empty.
          if (info.m_strName == "LvExtra" && text.empty()) {
            noDefinition = true;
            break;
          }
          if (info.m_strName == "Id") id = std::atoi(text.c_str());
          if (info.m_strName == "Name") name = text;
        }
        auto query = std::make_unique<analysis::Queries>();
        if (!noDefinition) {
          query->id = id;
          query->name = name;
          query->sqlText = RebuildQuerySql(recovery, id);
        } else {
          query->id = 0;
        }
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
