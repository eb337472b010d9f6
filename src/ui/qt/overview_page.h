#pragma once

#include <QPointer>
#include <QWidget>

namespace kelvarine {

class HelpWindow;

// The "OverView" page: a short help text and a button that opens the help file in the help window;
// Return goes back to the Main Panel.
class OverViewPage : public QWidget {
  Q_OBJECT

 public:
  explicit OverViewPage(QWidget* parent = nullptr);

  // Opens (or raises) the help window over the help file.
  void openHelp();

 signals:
  void returnRequested();

 private:
  QPointer<HelpWindow> help_;
};

}  // namespace kelvarine
