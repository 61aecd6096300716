#pragma once
// Opening a document or web address with the application the desktop
// associates with it (the help page, the contest rules).

#include <string>
#include <string_view>

namespace kontura {

class Documents {
 public:
  virtual ~Documents() = default;
  // path: a local file path or a URL (UTF-8). False when nothing could open it.
  virtual bool OpenDocument(std::string_view path) = 0;
};

// Without a desktop: opens nothing and says so.
class NoDocuments : public Documents {
 public:
  bool OpenDocument(std::string_view) override { return false; }
};

}  // namespace kontura
