#pragma once
// One line per QSO record for the record listing of kontura-tool ("dump"):
// the fields an operator looks for when checking what a contest log holds.
// The text stays Windows-1252; the tool converts it for the terminal.

#include <cstdint>
#include <string>

namespace kontura {

// "Nr <RecordNo> | QSO <QsoNo> | <date> <time> | <call> | <band> | <mode> |
// gesendet "<exchange>" | empfangen "<exchange>" | Locator <locator> |
// <distance> km | <points> Punkte | DXCC <entity>", followed by
// " | Bandwechsel" for a band-change marker and " | ausgeschlossen" for an
// excluded QSO. A date or time that is not set, and a record without band,
// show "-". rec holds the 216 bytes of a QSO record.
std::string QsoSummary(const uint8_t* rec);

}  // namespace kontura
