#pragma once

#include <QWidget>

namespace kelvarine {

// The "About" page: the program's name and version; Return goes back to the Main Panel.
class AboutPage : public QWidget {
  Q_OBJECT

 public:
  explicit AboutPage(QWidget* parent = nullptr);

 signals:
  void returnRequested();
};

}  // namespace kelvarine
