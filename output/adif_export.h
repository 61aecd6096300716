#pragma once
// The ADIF export: the whole QSO log of the contest as an ADIF file for other
// logging programs. Two header lines, then one line of tags per QSO in
// record-number order; band-change markers are left out. Every line of the
// file, the header lines included, starts with five blanks.
//
// Precondition: the contest's log is open; FHPREFIX should be open for the
// DXCC numbers (without it only the numbers of the entity list are known).

#include <string>

#include "logging/qso_record.h"
#include "output/line_writer.h"
#include "output/output_sources.h"

namespace kontura {

// The tags of one QSO, separated by blanks and ending with "<EOR>".
// `district_tag` is "DOK" in this edition ("AREA" or "LDK" for contests
// whose options say so).
std::string AdifQsoLine(const QsoRecord& q, bool rst_only, const std::string& district_tag);

// One tag: "<" + name + ":" + length + ">" + value, the length being the
// value's length unless `length` is given.
std::string AdifTag(std::string_view name, std::string_view value, int length = -1);

// Writes the file: the header lines, then asks the operator once (through
// TheDialogs()) "Von der Kontrollnummer nur RS(T) exportieren?", then the
// QSO lines. True when every line went out.
bool WriteAdifExport(LineWriter& w, const OutputSources& src);

}  // namespace kontura
