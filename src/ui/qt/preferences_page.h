#pragma once

#include <QWidget>
#include <array>

#include "engine/compare_choices.h"
#include "ui/qt/gui_session.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kelvarine {

// The "Preferences" page: the eighteen preference check boxes in panel order with their parameters
// (Subc character, Xtab width, Ccol ranges). Controls write through to session.app.choices;
// showState() shows the choices again. Return, Cancel and Reset are the window's to carry out.
class PreferencesPage : public QWidget {
  Q_OBJECT

 public:
  explicit PreferencesPage(GuiSession& session, QWidget* parent = nullptr);

  void showState();

 signals:
  void returnRequested();
  void cancelRequested();
  void resetRequested();

 protected:
  // The Subc field is normalised when it loses the focus.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* makeEdit(const char* name, std::string CompareChoices::*field, const QString& hint);
  void normaliseSubc();

  GuiSession& session_;
  bool showing_ = false;
  std::array<QCheckBox*, kPrefCount> boxes_{};  // by tag
  QLineEdit* subc_ = nullptr;
  QComboBox* xtab_ = nullptr;
  QLineEdit* ccolNew1_ = nullptr;
  QLineEdit* ccolNew2_ = nullptr;
  QLineEdit* ccolOld1_ = nullptr;
  QLineEdit* ccolOld2_ = nullptr;
};

}  // namespace kelvarine
