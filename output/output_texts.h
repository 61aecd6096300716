#pragma once
// The texts of the outputs that the operator or the contest committee reads,
// in one place. Windows-1252.

namespace kontura {

// The maker's web address, at the end of the summary sheet and of the first
// line of an ADIF file.
inline constexpr char kMakerWebAddress[] = "https://kontura.example.org";

inline constexpr char kAdifHeaderStart[] = "ADIF-Export generated with Brixam ";
inline constexpr char kAdifEndOfHeader[] = "<EOH>";
inline constexpr char kRstOnlyQuestion[] = "Von der Kontrollnummer nur RS(T) exportieren?";


}  // namespace kontura
