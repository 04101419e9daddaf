#pragma once
// A page of the settings window's tab control. Its controls have their places relative to the
// tab control (tab bar included), as the window was designed; the page converts them once it
// knows where the tab control put it.
#include <QRect>
#include <QWidget>
#include <utility>
#include <vector>

namespace qz {

class TabPage : public QWidget {
 public:
  using QWidget::QWidget;

  template <typename Control>
  Control* place(Control* control, const QRect& onTabControl) {
    placed_.emplace_back(control, onTabControl);
    control->setGeometry(onTabControl);
    return control;
  }

  // Called once the tab control has laid out its pages.
  void placeRelativeTo(QWidget* tabControl) {
    const QPoint origin = mapTo(tabControl, QPoint(0, 0));
    for (auto& [control, rect] : placed_) control->setGeometry(rect.translated(-origin));
  }

 private:
  std::vector<std::pair<QWidget*, QRect>> placed_;
};

}  // namespace qz
