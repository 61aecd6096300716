#include "ui/colour_scheme.h"

namespace kontura {

Rgb RgbOfColorRef(uint32_t colorref) {
  return Rgb{static_cast<uint8_t>(colorref & 0xFF), static_cast<uint8_t>((colorref >> 8) & 0xFF),
             static_cast<uint8_t>((colorref >> 16) & 0xFF)};
}

LabelRole LabelRoleOfTag(int tag) {
  if (tag == 99) return LabelRole::kHighlight;
  if (tag == 98) return LabelRole::kUnchanged;
  if (tag < 100) return LabelRole::kText;
  if (tag < 2000) return LabelRole::kMenuEntry;
  return LabelRole::kOther;
}

bool IsMenuHeadTag(int tag) { return tag >= 100 && tag < 2000 && tag % 100 == 0; }

std::string MenuEntryText(const std::string& text, int tag, int width_px) {
  std::string t = text;
  if (IsMenuHeadTag(tag) && width_px > kMenuEntryWidth && t.compare(0, 4, "    ") == 0) t.erase(0, 4);
  if (t == "Datensicherung (Backup)") return "Backup";
  if (t == "Datensicherung (Restore)") return "Restore";
  if (t == "Logbuch als Liste \xF6" "ffnen") return "Logbuch als Liste";
  return t;
}

bool StripeIsBar(int x) { return x >= kStripeBarFrom && x < kStripeBarTo; }

}  // namespace kontura
