#pragma once
// The value logic of the picture edit field: how a typed value becomes the
// field's text through its number picture, and how the text is read back.
// The Qt field (TfkEdit) only holds the text and forwards to this class.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kontura {

enum class fkeditdatatype {
  dtString,
  dtInteger,   // 32-bit signed
  dtWord,      // 16-bit unsigned
  dtByte,      // 8-bit unsigned
  dtChar,      // one byte
  dtLongint,   // 32-bit signed
  dtReal,      // 6-byte real
  dtSingle,    // 4-byte floating point
  dtDouble,    // 8-byte floating point
  dtExtended,  // 10-byte floating point
};

// Every "9" of a mask is kept as "#": "999,99" is stored as "###,##".
std::string NormalisePictureMask(std::string_view mask);

// Reads a number typed with a decimal comma or a decimal point: "3,5" and
// "3.5" both give 3.5, "-3,5" gives -3.5, a comma at the end is ignored.
// Returns nothing for a text that is not a number.
std::optional<double> ReadRealNumber(std::string_view text);

// Reads a whole decimal number (blanks around it allowed). Returns nothing for
// a text that is not a number or does not fit the type's width.
std::optional<int64_t> ReadIntegerNumber(std::string_view text, fkeditdatatype type);

class PictureField {
 public:
  fkeditdatatype DataType() const { return m_type; }
  void SetDataType(fkeditdatatype type) { m_type = type; }

  const std::string& PictureMask() const { return m_mask; }
  void SetPictureMask(std::string_view mask) { m_mask = NormalisePictureMask(mask); }

  // The text for a value. For string fields the text is the string. Numbers go
  // through the picture and lose their outer blanks; without a picture they
  // show as plain decimal numbers. A real value that equals
  // the last one the field showed or returned (dtDouble, dtExtended) keeps the
  // current text, so the way the operator typed an unchanged number survives.
  std::string TextForString(std::string_view value) const { return std::string(value); }
  std::string TextForInteger(int64_t value) const;
  std::string TextForChar(char value) const;
  std::string TextForReal(double value, std::string_view current_text);

  // Values of the current text; 0 where the text is not a valid number.
  int64_t IntegerOf(std::string_view text) const;
  char CharOf(std::string_view text) const;
  double RealOf(std::string_view text);

 private:
  bool RemembersRealValue() const {
    return m_type == fkeditdatatype::dtDouble || m_type == fkeditdatatype::dtExtended;
  }
  double RoundToType(double value) const;

  fkeditdatatype m_type = fkeditdatatype::dtString;
  std::string m_mask;
  std::optional<double> m_lastReal;  // last dtDouble/dtExtended value shown or returned
};

}  // namespace kontura
