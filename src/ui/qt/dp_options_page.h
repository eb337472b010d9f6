#pragma once

#include <QWidget>

#include "ui/qt/gui_session.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace kelvarine {

// The "Dp Options" page: the eleven Don't Process options as a radio group, the Dudc tag and its
// Yes/No field. Controls write through to session.app.choices; showState() shows them again.
// Return and Cancel are the window's to carry out.
class DpOptionsPage : public QWidget {
  Q_OBJECT

 public:
  explicit DpOptionsPage(GuiSession& session, QWidget* parent = nullptr);

  void showState();

 signals:
  void returnRequested();
  void cancelRequested();

 private:
  GuiSession& session_;
  bool showing_ = false;
  QButtonGroup* group_ = nullptr;
  QLineEdit* udcTag_ = nullptr;
  QComboBox* udcYesNo_ = nullptr;
};

}  // namespace kelvarine
