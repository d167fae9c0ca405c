// The real databases of the build's data folder, opened once for all
// integration tests and benchmarks, and queries run on them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "query/query_context.h"
#include "textdb/catalogue.h"
#include "textdb/vorn_db.h"

namespace vorn::testing {

// The database `name` (HEB, GNT, BYZ) of VORN_DATA_DIR, or null when it has
// not been built. Opened once per process.
CVornDB* RealDatabase(const std::string& name);

// A query context over the database alone (no user tags).
class PlainContext : public CQueryContext {
 public:
  explicit PlainContext(CVornDB* db) : db_(db) {}
  CVornDB* GetDatabase() const override { return db_; }

 private:
  CVornDB* db_;
};

// Runs `query` (UTF-8); the hits, or the error as "message @first-last" in
// `*error`.
std::vector<uint32_t> RunQuery(const std::string& query, CQueryContext* context,
                               std::string* error = nullptr);

}  // namespace vorn::testing
