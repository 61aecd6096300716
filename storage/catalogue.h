#pragma once
// The openers and closers of the program's fileblocks, and their globals: one
// shared fileblock handle and one record buffer per fileblock ("the FHKK
// record"), empty while the fileblock is closed. Code that uses a fileblock
// calls its opener, works on the global record with the engine's operations,
// and calls the closer. Openers that find their fileblock already open only
// count one more user; the matching closer counts down and closes when the
// count would go below zero.
//
// Every fileblock lives in the start directory.
//
// The openers know the fileblocks by their CatalogueId only; what each one
// holds (record length, keys, key builder) is the program's table, which the
// program hands over once at start with InstallCatalogue.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "storage/fileblock.h"
#include "storage/fileblock_layout.h"

namespace kontura {

enum class CatalogueId {
  kFhsetup,
  kFhsetup2,
  kFhkk,
  kFhkz,
  kFhlk,      // FHLK<nnnn>, one per contest; see FhlkFileName
  kFhlktemp,
  kFhprefix,
  kFhprefee,
  kFhprefes,
  kFhpro,
  kFhcbuch,
  kFhcall,
};

inline constexpr size_t kCatalogueSize = static_cast<size_t>(CatalogueId::kFhcall) + 1;

// Installs the program's table: one layout per CatalogueId, in the order of
// CatalogueId. The table must outlive every opener call; opening a
// fileblock before a table is installed ends the program.
void InstallCatalogue(std::span<const FileblockLayout> table);

// The installed table (empty before InstallCatalogue) and one entry of it.
std::span<const FileblockLayout> InstalledCatalogue();
const FileblockLayout& CatalogueLayout(CatalogueId id);

// The layout of a fileblock path as it appears on disk ("dir/FHKK.DAT",
// "fhkk", "FHLK0007" for the log of contest 7; FHLKTEMP is its own entry),
// or nullptr when the program does not know the file.
const FileblockLayout* FindCatalogueLayout(const std::string& path);

// The id of an entry of the installed table; nothing for other layouts.
std::optional<CatalogueId> CatalogueIdOf(const FileblockLayout& layout);

// The file name of the QSO log of a contest: "FHLK" and the number with four
// digits and leading zeros (contest 7: FHLK0007). A number outside 0..9999
// would overflow the four positions; it is written with all its digits
// (and a minus sign) instead, so that no two contests share one log file.
std::string FhlkFileName(int32_t contest_number);

// The start directory with a trailing "/": the current directory when the
// program started. Fileblocks, pictures and the rules document are found
// relative to it.
const std::string& StartDir();
// Takes the current directory as the start directory.
void SetStartDirFromCurrentDirectory();

// Generic opener and closer. file_name is the name in the start directory
// (for the contest logs "FHLK0007"); empty takes the catalogue's name.
bool OpenCatalogued(CatalogueId id, const std::string& file_name = {});
void CloseCatalogued(CatalogueId id);

// The global handle and record of a fileblock; nullptr while it is closed.
Fileblock* CatalogueHandle(CatalogueId id);
uint8_t* CatalogueRecord(CatalogueId id);

// Named openers and closers.
inline bool OpenFHSETUP() { return OpenCatalogued(CatalogueId::kFhsetup); }
inline bool OpenFHSETUP2() { return OpenCatalogued(CatalogueId::kFhsetup2); }
inline bool OpenFHKK() { return OpenCatalogued(CatalogueId::kFhkk); }
inline bool OpenFHKZ() { return OpenCatalogued(CatalogueId::kFhkz); }
inline bool OpenFHLK(int32_t contest_number) { return OpenCatalogued(CatalogueId::kFhlk, FhlkFileName(contest_number)); }
inline bool OpenFHLKTEMP() { return OpenCatalogued(CatalogueId::kFhlktemp); }
inline bool OpenFHPREFIX() { return OpenCatalogued(CatalogueId::kFhprefix); }
inline bool OpenFHPREFEE() { return OpenCatalogued(CatalogueId::kFhprefee); }
inline bool OpenFHPREFES() { return OpenCatalogued(CatalogueId::kFhprefes); }
inline bool OpenFHPRO() { return OpenCatalogued(CatalogueId::kFhpro); }
inline bool OpenFHCBUCH() { return OpenCatalogued(CatalogueId::kFhcbuch); }
inline bool OpenFHCALL() { return OpenCatalogued(CatalogueId::kFhcall); }

inline void CloseFHSETUP() { CloseCatalogued(CatalogueId::kFhsetup); }
inline void CloseFHSETUP2() { CloseCatalogued(CatalogueId::kFhsetup2); }
inline void CloseFHKK() { CloseCatalogued(CatalogueId::kFhkk); }
inline void CloseFHKZ() { CloseCatalogued(CatalogueId::kFhkz); }
inline void CloseFHLK() { CloseCatalogued(CatalogueId::kFhlk); }
inline void CloseFHLKTEMP() { CloseCatalogued(CatalogueId::kFhlktemp); }
inline void CloseFHPREFIX() { CloseCatalogued(CatalogueId::kFhprefix); }
inline void CloseFHPREFEE() { CloseCatalogued(CatalogueId::kFhprefee); }
inline void CloseFHPREFES() { CloseCatalogued(CatalogueId::kFhprefes); }
inline void CloseFHPRO() { CloseCatalogued(CatalogueId::kFhpro); }
inline void CloseFHCBUCH() { CloseCatalogued(CatalogueId::kFhcbuch); }
inline void CloseFHCALL() { CloseCatalogued(CatalogueId::kFhcall); }

// Makes the first record by key 1 the current one; when the fileblock is
// empty, clears the buffer and adds it as the first record (how the set-up
// records come into being on a first start). True when a stored record was
// found, false when it had to be added.
bool FirstRecordOrAddCleared(Fileblock* fb);

}  // namespace kontura
