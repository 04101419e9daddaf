#pragma once
// A button drawn from the program's own pictures (normal, hover, pressed, disabled).
#include <QAbstractButton>

#include "app/artwork.h"

namespace qz {

class PictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  PictureButton(art::ButtonLook look, const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  art::ButtonState state() const;

  art::ButtonLook look_;
  bool hovered_ = false;
};

}  // namespace qz
