#include "integration/integration_util.h"

#include <map>

#include "platform/u16.h"
#include "query/query_processor.h"

namespace vorn::testing {

CVornDB* RealDatabase(const std::string& name) {
  static platform::CStderrMessageSink sink;
  static CVornDBs dbs({VORN_DATA_DIR}, &sink, nullptr);
  const int index = dbs.FindByName(platform::ToU16(name));
  return index < 0 ? nullptr : dbs.GetDatabase(index);
}

std::vector<uint32_t> RunQuery(const std::string& query, CQueryContext* context,
                               std::string* error) {
  CQueryProcessor processor(platform::ToU16(query), context, nullptr);
  if (!processor.Execute()) {
    if (error) {
      *error = platform::ToUtf8(processor.GetError()->GetMessage()) + " @" +
               std::to_string(processor.GetError()->GetFirst()) + "-" +
               std::to_string(processor.GetError()->GetLast());
    }
    return {};
  }
  if (error) error->clear();
  return processor.GetHits();
}

}  // namespace vorn::testing
