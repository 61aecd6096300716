#pragma once
// The pictures of the logging window, drawn rather than loaded: the icons
// of the picture-button row and the own call drawn three times with a
// one-pixel offset (white over two darker shades), as a raised lettering.

#include <QIcon>
#include <QWidget>

namespace kontura {

enum class ButtonPicture { kClear, kMode, kBand, kList, kCorrection, kCallSearch, kHelp, kNote, kNameQth };

QIcon DrawnIcon(ButtonPicture picture);

class CallLettering : public QWidget {
 public:
  explicit CallLettering(QWidget* parent = nullptr);
  void SetCall(const QString& call);
  QString Call() const { return m_call; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_call;
};

}  // namespace kontura
