#include "app/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/ui_text.h"

namespace qz::art {
namespace {

// One palette for every picture: ink for the frame, a teal accent, warm swatches.
const QColor kInk(0x1e, 0x24, 0x33);
const QColor kInkLight(0x2d, 0x37, 0x4d);
const QColor kPaper(0xf5, 0xf7, 0xfa);
const QColor kPaperShade(0xe6, 0xea, 0xf1);
const QColor kCardBorder(0xd3, 0xd9, 0xe3);
const QColor kTeal(0x17, 0xa8, 0x97);
const QColor kTealDark(0x0f, 0x86, 0x78);
const QColor kAmber(0xf5, 0xa5, 0x24);
const QColor kCoral(0xef, 0x5a, 0x6f);
const QColor kIndigo(0x3b, 0x5b, 0xd9);
const QColor kText(0x25, 0x2d, 0x3d);

constexpr qreal kWindowRadius = 12;

void paintCard(QPainter& painter, const QRectF& area) {
  // A soft shadow a pixel below the card lifts it off the body.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1e, 0x24, 0x33, 22));
  painter.drawRoundedRect(area.translated(0, 1.5).adjusted(-0.5, 0, 0.5, 0.5), 7, 7);
  painter.setBrush(Qt::white);
  painter.setPen(QPen(kCardBorder, 1));
  painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void paintHeader(QPainter& painter) {
  QLinearGradient band(0, 0, 0, 30);
  band.setColorAt(0, kInkLight);
  band.setColorAt(1, kInk);
  painter.fillRect(QRectF(0, 0, kWindowWidth, 30), band);

  // The accent rule under the title: the designer's three working colours.
  QLinearGradient rule(0, 0, kWindowWidth, 0);
  rule.setColorAt(0, kTeal);
  rule.setColorAt(0.55, kAmber);
  rule.setColorAt(1, kCoral);
  painter.fillRect(QRectF(0, 30, kWindowWidth, 2), rule);

  painter.drawImage(QPointF(9, 6), programIcon(18));
}

void paintSwatches(QPainter& painter) {
  const QColor swatches[] = {kTeal, kIndigo, kAmber, kCoral, kInkLight};
  qreal x = 24;
  painter.setPen(Qt::NoPen);
  for (const QColor& colour : swatches) {
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(x, 415, 14, 14), 3, 3);
    x += 20;
  }
}

QColor shifted(const QColor& colour, ButtonState state) {
  switch (state) {
    case ButtonState::Hover: return colour.lighter(112);
    case ButtonState::Pressed: return colour.darker(118);
    case ButtonState::Disabled:
    case ButtonState::Normal: break;
  }
  return colour;
}

void paintFilledButton(QPainter& painter, const QRectF& area, ButtonLook look, ButtonState state,
                       const QString& text) {
  const bool accent = look == ButtonLook::Accent;
  const bool disabled = state == ButtonState::Disabled;
  QColor top = accent ? kTeal.lighter(108) : QColor(Qt::white);
  QColor bottom = accent ? kTealDark : kPaperShade;
  QColor border = accent ? kTealDark.darker(110) : kCardBorder.darker(108);
  QColor ink = accent ? QColor(Qt::white) : kText;
  if (disabled) {
    top = QColor(0xe4, 0xe7, 0xec);
    bottom = QColor(0xd5, 0xd9, 0xe0);
    border = QColor(0xc5, 0xcb, 0xd4);
    ink = QColor(0x93, 0x9b, 0xa8);
  } else if (!accent && state == ButtonState::Hover) {
    border = kTeal;
  }
  QLinearGradient fill(area.topLeft(), area.bottomLeft());
  fill.setColorAt(0, shifted(top, state));
  fill.setColorAt(1, shifted(bottom, state));
  painter.setPen(QPen(border, 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

  painter.setPen(ink);
  painter.setFont(interfaceFont(9, accent));
  const QRectF label = state == ButtonState::Pressed ? area.translated(0, 1) : area;
  painter.drawText(label, Qt::AlignCenter, text);
}

void paintTitleButton(QPainter& painter, const QRectF& area, ButtonLook look, ButtonState state) {
  const bool close = look == ButtonLook::TitleClose;
  if (state == ButtonState::Hover || state == ButtonState::Pressed) {
    QColor fill = close ? kCoral : QColor(255, 255, 255, 46);
    if (state == ButtonState::Pressed) fill = close ? kCoral.darker(120) : QColor(255, 255, 255, 80);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(area.adjusted(0, -4, 0, 0), 4, 4);
  }
  const QPointF centre = area.center();
  painter.setPen(QPen(QColor(255, 255, 255, state == ButtonState::Normal ? 200 : 255), 1.6,
                      Qt::SolidLine, Qt::RoundCap));
  if (close) {
    const qreal r = 3.6;
    painter.drawLine(centre + QPointF(-r, -r), centre + QPointF(r, r));
    painter.drawLine(centre + QPointF(-r, r), centre + QPointF(r, -r));
  } else {
    painter.drawLine(centre + QPointF(-4.5, 3), centre + QPointF(4.5, 3));
  }
}

// The icon in a 256-unit square: a page of the web in a teal-to-indigo tile, with the coral
// badge of a download taking it home.
void paintIcon(QPainter& painter) {
  QLinearGradient tile(16, 16, 240, 240);
  tile.setColorAt(0, QColor(0x22, 0xc1, 0xae));
  tile.setColorAt(1, kIndigo);
  painter.setPen(Qt::NoPen);
  painter.setBrush(tile);
  painter.drawRoundedRect(QRectF(16, 16, 224, 224), 52, 52);

  const QRectF page(50, 54, 156, 124);
  painter.setBrush(QColor(0, 0, 0, 40));
  painter.drawRoundedRect(page.translated(0, 5), 16, 16);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(page, 16, 16);
  painter.setBrush(QColor(0xe8, 0xec, 0xf3));
  QPainterPath bar;
  bar.addRoundedRect(QRectF(page.left(), page.top(), page.width(), 34), 16, 16);
  bar.addRect(QRectF(page.left(), page.top() + 18, page.width(), 16));
  painter.drawPath(bar.simplified());
  const QColor dots[] = {kCoral, kAmber, kTeal};
  for (int i = 0; i < 3; ++i) {
    painter.setBrush(dots[i]);
    painter.drawEllipse(QPointF(page.left() + 20 + i * 20, page.top() + 17), 6.5, 6.5);
  }
  painter.setBrush(QColor(0xc9, 0xd1, 0xde));
  painter.drawRoundedRect(QRectF(page.left() + 18, page.top() + 50, 84, 11), 5.5, 5.5);
  painter.drawRoundedRect(QRectF(page.left() + 18, page.top() + 72, 58, 11), 5.5, 5.5);
  painter.setBrush(QColor(0xb4, 0xe6, 0xdf));
  painter.drawRoundedRect(QRectF(page.left() + 18, page.top() + 94, 70, 11), 5.5, 5.5);

  const QPointF badge(184, 182);
  painter.setBrush(Qt::white);
  painter.drawEllipse(badge, 47, 47);
  painter.setBrush(kCoral);
  painter.drawEllipse(badge, 40, 40);
  QPainterPath arrow;
  arrow.moveTo(badge + QPointF(-8, -24));
  arrow.lineTo(badge + QPointF(8, -24));
  arrow.lineTo(badge + QPointF(8, 0));
  arrow.lineTo(badge + QPointF(20, 0));
  arrow.lineTo(badge + QPointF(0, 21));
  arrow.lineTo(badge + QPointF(-20, 0));
  arrow.lineTo(badge + QPointF(-8, 0));
  arrow.closeSubpath();
  painter.setBrush(Qt::white);
  painter.drawPath(arrow);
}

}  // namespace

QPixmap mainWindowBackground() {
  QImage image(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  image.fill(kCutAwayColour);
  QPainter painter(&image);

  // The outline is clipped without smoothing, so no pixel of the edge blends with the
  // cut-away colour: the mask then follows the outline exactly, with no pink fringe.
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, kWindowWidth, kWindowHeight), kWindowRadius, kWindowRadius);
  painter.setClipPath(outline);
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient body(0, 0, 0, kWindowHeight);
  body.setColorAt(0, kPaper);
  body.setColorAt(1, kPaperShade);
  painter.fillRect(image.rect(), body);
  paintHeader(painter);
  paintCard(painter, kAddressPanel);
  paintCard(painter, kLogPanel);
  paintSwatches(painter);
  painter.end();
  return QPixmap::fromImage(image);
}

QImage programIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 256.0, size / 256.0);
  paintIcon(painter);
  painter.end();
  return image;
}

void paintButton(QPainter& painter, const QRectF& area, ButtonLook look, ButtonState state,
                 const QString& text) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  if (look == ButtonLook::TitleMinimise || look == ButtonLook::TitleClose)
    paintTitleButton(painter, area, look, state);
  else
    paintFilledButton(painter, area, look, state, text);
  painter.restore();
}

}  // namespace qz::art
