#pragma once
// Opening a document or web address with the application the desktop
// associates with it (the help page, the contest rules).

#include <string>
#include <string_view>

namespace kontura {

// The target as the shell-open routine hands it on: every "Ø" becomes "0"
// (a slashed zero typed for a call sign's zero), and a target with "@" that
// does not already hold "MAILTO" (in any case) gets "mailto:" in front.
// UTF-8 in and out.
std::string ShellOpenTarget(std::string_view target);

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
