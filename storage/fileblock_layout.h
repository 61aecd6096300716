#pragma once
// What the program knows of one kind of fileblock: file name, record length,
// keys, counter field, flush setting and key builder. Opening, the integrity
// check and the rebuild all read this one description, so a file is checked
// and rebuilt with exactly the keys it is opened with.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/fileblock.h"
#include "storage/index_file.h"
#include "storage/record_bytes.h"

namespace kontura {

// Every record begins with the engine's 4-byte deletion marker; a counter
// field always lies right behind it.
inline constexpr size_t kCounterFieldOffset = 4;

struct FileblockLayout {
  // File name without directory and extension. A numbered layout names a
  // family of files: the name followed by a number of four or more digits,
  // optionally with a minus sign (the contest logs "FHLK0007").
  std::string name;
  bool numbered = false;
  int record_length = 0;         // the fixed section of a variable-length record
  int buffer_size = 0;           // the record buffer; 0: the record length
  bool variable_length = false;
  std::vector<KeySpec> keys;     // key 1 first
  int counter_key = 0;           // key whose counter field is at byte 4; 0: none
  bool flush_after_write = false;
  KeyBuilder key_builder;        // may be empty: keys are then not compared
  // The length-prefixed strings of the record (of its fixed section). The
  // integrity check warns about a length byte above its field's capacity:
  // our readers cut such a string, other programs may read past the field.
  std::vector<StrField> string_fields;

  int BufferSize() const { return buffer_size > 0 ? buffer_size : record_length; }
};

// The file name of a path: directory and extension removed
// ("dir/FHLK0007.DAT" gives "FHLK0007").
std::string FileblockFileName(const std::string& path);

// Whether file_name (as FileblockFileName gives it) names a file of layout;
// names compare after FoldFileblockName.
bool NamesLayout(const FileblockLayout& layout, std::string_view file_name);

// The layout of the fileblock at path among layouts, or nullptr. An exact
// name wins over a numbered family ("FHLKTEMP" is not a contest log).
const FileblockLayout* FindLayout(std::span<const FileblockLayout> layouts, const std::string& path);

}  // namespace kontura
