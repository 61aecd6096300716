#pragma once
// TfkEdit: the single-line input field of every form. A line edit with a data
// type and a number picture; the host puts typed values in and takes typed
// values out, and the picture logic converts between value and text.

#include <QLineEdit>
#include <string>

#include "ui/fk_edit.h"

namespace kontura {

class TfkEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TfkEdit(QWidget* parent = nullptr);

  fkeditdatatype DataType() const { return m_field.DataType(); }
  void SetDataType(fkeditdatatype type) { m_field.SetDataType(type); }

  // The number picture; every "9" is stored as "#". String fields keep a mask
  // only to document their format ("DD.MM.YYYY"); it is not applied.
  std::string PictureMask() const { return m_field.PictureMask(); }
  void SetPictureMask(const std::string& mask) { m_field.SetPictureMask(mask); }

  // The number of characters the operator may type. Unlike the line edit's
  // own maximum length it never cuts a value the program sets: a stored
  // value longer than the limit is shown whole and can be shortened, but
  // not lengthened. 0: no limit.
  int TextLimit() const { return m_limit; }
  void SetTextLimit(int limit);
  // Typed letters become capitals.
  bool UpperCase() const { return m_upper; }
  void SetUpperCase(bool on) { m_upper = on; }

  int Tag2() const { return m_tag2; }
  void SetTag2(int tag) { m_tag2 = tag; }

  Qt::Alignment TextAlignment() const { return alignment(); }
  void SetTextAlignment(Qt::Alignment a) { setAlignment(a); }

  // Values by type. Text crosses the Qt boundary as Windows-1252 bytes.
  void SetValue(const std::string& text);  // dtString
  void SetValue(int64_t value);            // dtInteger, dtLongint, dtWord, dtByte
  void SetCharValue(char value);           // dtChar
  void SetRealValue(double value);         // dtReal, dtSingle, dtDouble, dtExtended

  std::string StringValue() const;
  int64_t IntegerValue() const;
  char CharValue() const;
  double RealValue();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RaiseTypedText();

  PictureField m_field;
  int m_tag2 = 0;
  int m_limit = 0;
  bool m_upper = false;
};

}  // namespace kontura
