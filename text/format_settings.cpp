#include "text/format_settings.h"

namespace kontura {

FormatSettings& TheFormatSettings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace kontura
