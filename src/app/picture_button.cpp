#include "app/picture_button.h"

#include <QPainter>

namespace qz {

PictureButton::PictureButton(art::ButtonLook look, const QString& text, QWidget* parent)
    : QAbstractButton(parent), look_(look) {
  setText(text);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

art::ButtonState PictureButton::state() const {
  if (!isEnabled()) return art::ButtonState::Disabled;
  if (isDown()) return art::ButtonState::Pressed;
  return hovered_ ? art::ButtonState::Hover : art::ButtonState::Normal;
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  art::paintButton(painter, rect(), look_, state(), text());
}

void PictureButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace qz
