#pragma once
// The common file dialogs as the logic asks for them. Texts and paths are
// Windows-1252 byte strings like everything in the records; the toolkit's
// implementation converts at its boundary.

#include <optional>
#include <string>
#include <string_view>

namespace kontura {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;

  // The save-file dialog. `filter` is "label|pattern" (for example
  // "CSV-Liste (*.CSV)|DL1ABC.CSV"), `proposed` the file name offered,
  // `default_extension` (without the point) is appended to a typed name
  // that has none. Nothing when the operator cancels.
  virtual std::optional<std::string> SaveFileName(std::string_view filter, std::string_view proposed,
                                                  std::string_view default_extension) = 0;

  // The open-file dialog with the same conventions; the file need not exist.
  virtual std::optional<std::string> OpenFileName(std::string_view filter, std::string_view default_extension) = 0;
};

}  // namespace kontura
