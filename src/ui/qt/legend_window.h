#pragma once

#include <QWidget>

namespace kelvarine {

// The non-modal window that explains the change codes of the report's ID column, each in the colour
// the viewers give its rows.
class LegendWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LegendWindow(QWidget* parent = nullptr);
};

}  // namespace kelvarine
