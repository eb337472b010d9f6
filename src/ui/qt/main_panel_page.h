#pragma once

#include <QWidget>

#include "ui/compare_flows.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kelvarine {

class ActivityIcon;
class NameHistoryCombo;
class RunController;

// The "Main Panel" page: the New and Old names, listing and compare type, the subdirectory and exclude
// choices of directory compares, the options string, the status and progress display, the three check boxes
// and the buttons that start a run or lead to the other pages. Controls write through to the session;
// showState() shows the session again.
class MainPanelPage : public QWidget {
  Q_OBJECT

 public:
  MainPanelPage(GuiSession& session, RunController& run, QWidget* parent = nullptr);

  // Shows the session's names, types, subdirectory and exclude choices, options string and check boxes.
  void showState();
  // The widgets a run writes its status and progress to.
  GuiHost::Display display();
  // A run starts or ends: the controls that could start another run are disabled meanwhile, Halt shows.
  void setRunning(bool running);
  // A set has run: Re-Show Last Report Panel is enabled from its end on.
  void reportReady();
  void focusTarget(FocusTarget target);

  NameHistoryCombo* oldNameField() const { return oldName_; }
  // True from a press of Start until its flow has returned (messages, selection windows, the run and
  // its viewer included).
  bool starting() const { return starting_; }

 signals:
  void exitRequested();
  void dirSelectRequested();
  void fileSelectRequested();
  void loadIniRequested();
  void saveIniRequested();
  // "Turn off \"All\" Panel Hints" was clicked; `off` is its new state.
  void hintsSwitched(bool off);
  // The flow that Start began has returned.
  void startFinished();

 private:
  void start();
  void reShow();

  GuiSession& session_;
  RunController& run_;
  bool showing_ = false;  // showState() is filling the controls: no write-through
  bool starting_ = false;
  bool reShowReady_ = false;  // a set has run since start (and its preferences still hold)

  NameHistoryCombo* newName_ = nullptr;
  NameHistoryCombo* oldName_ = nullptr;
  QComboBox* listType_ = nullptr;
  QComboBox* compareType_ = nullptr;
  QCheckBox* subDirs_ = nullptr;
  QLineEdit* exclude_ = nullptr;
  QLabel* options_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* progressTitle_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* percent_ = nullptr;
  ActivityIcon* activity_ = nullptr;
  QCheckBox* turnOffHint_ = nullptr;
  QCheckBox* viewResults_ = nullptr;
  QCheckBox* omitIniSv_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* halt_ = nullptr;
  QPushButton* exit_ = nullptr;
  QPushButton* dirSelect_ = nullptr;
  QPushButton* fileSelect_ = nullptr;
  QPushButton* reShow_ = nullptr;
  QPushButton* loadIni_ = nullptr;
  QPushButton* saveIni_ = nullptr;
};

}  // namespace kelvarine
