#include "ui/qt/main_panel_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "ui/qt/activity_icon.h"
#include "ui/qt/name_history_combo.h"
#include "ui/qt/run_controller.h"

namespace kelvarine {

namespace {

QPushButton* makeButton(const QString& caption, const char* name, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* makeCheckBox(const QString& caption, const char* name, const QString& hint, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setToolTip(hint);
  return box;
}

// Shows `text` in an editable combo: selects the item of that text when there is one.
void showComboText(QComboBox* combo, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  const int index = combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) combo->setCurrentIndex(index);
  combo->setEditText(shown);
}

}  // namespace

MainPanelPage::MainPanelPage(GuiSession& session, RunController& run, QWidget* parent)
    : QWidget(parent), session_(session), run_(run) {
  setObjectName("PageMain");

  // The New and Old names.
  auto* names = new QGroupBox("Input Directories or File Names", this);
  auto* nameForm = new QFormLayout(names);
  nameForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  newName_ = new NameHistoryCombo(session.panel.MnCbNewDirNm, session.files,
                                  HistoryAccepts::FilesOrDirectories, names);
  newName_->setObjectName("MnCbNewDirNm");
  newName_->setToolTip("New directory or file name: type it, pick it from the history or drop it here");
  oldName_ = new NameHistoryCombo(session.panel.MnCbOldDirNm, session.files,
                                  HistoryAccepts::FilesOrDirectories, names);
  oldName_->setObjectName("MnCbOldDirNm");
  oldName_->setToolTip("Old directory or file name: type it, pick it from the history or drop it here");
  auto* newLabel = new QLabel("&New Dir or File Name:", names);
  newLabel->setBuddy(newName_);
  auto* oldLabel = new QLabel("&Old Dir or File Name:", names);
  oldLabel->setBuddy(oldName_);
  nameForm->addRow(newLabel, newName_);
  nameForm->addRow(oldLabel, oldName_);

  // Listing and compare type beside the directions.
  auto* types = new QGridLayout;
  listType_ = new QComboBox(this);
  listType_->setObjectName("MnCbListType");
  listType_->setEditable(true);
  listType_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : kListTypes)
    listType_->addItem(item);
  listType_->setToolTip("Listing type of the report: Chng, Delta, Long or Ovsum");
  compareType_ = new QComboBox(this);
  compareType_->setObjectName("MnCbCompareType");
  compareType_->setEditable(true);
  compareType_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* item : kCompareTypes)
    compareType_->addItem(item);
  compareType_->setToolTip("How the New and Old names are paired into files to compare");
  auto* listLabel = new QLabel("&Listing Type:", this);
  listLabel->setBuddy(listType_);
  auto* compareLabel = new QLabel("&Compare Type:", this);
  compareLabel->setBuddy(compareType_);
  types->addWidget(listLabel, 0, 0);
  types->addWidget(listType_, 0, 1);
  types->addWidget(compareLabel, 1, 0);
  types->addWidget(compareType_, 1, 1);
  // Directory compares: descend into subdirectories, and names left out with or without that.
  subDirs_ = makeCheckBox(
      "Include subdir&ectories", "MnCkSubDirs",
      "Directory compares: every file under the two directories, named by its relative path", this);
  exclude_ = new QLineEdit(this);
  exclude_->setObjectName("MnEdExclude");
  exclude_->setToolTip(
      "Files and directories left out, for example .git;__pycache__;*.o (masks separated by ;)");
  exclude_->setClearButtonEnabled(true);
  auto* excludeLabel = new QLabel("Exclude:", this);
  excludeLabel->setBuddy(exclude_);
  types->addWidget(subDirs_, 2, 1);
  types->addWidget(excludeLabel, 3, 0);
  types->addWidget(exclude_, 3, 1);
  types->setColumnStretch(1, 1);
  types->setRowStretch(4, 1);

  auto* directions = new QGroupBox("Directions", this);
  directions->setObjectName("MnPanelDirections");
  auto* directionLines = new QVBoxLayout(directions);
  for (const char* line : {"1. Specify Input Directories or File Names  ", "2. Select \"Listing Type\"  ",
                           "3. Select \"Compare Type\" ", "4. Press \"Start\" Button"})
    directionLines->addWidget(new QLabel(line, directions));
  auto* typesRow = new QHBoxLayout;
  typesRow->addLayout(types, 1);
  typesRow->addWidget(directions);

  // The options string.
  auto* optionsBox = new QGroupBox("Preferences and Dp (Don't Process) User Selected Options:", this);
  optionsBox->setObjectName("MnPanelPref");
  auto* optionsLayout = new QVBoxLayout(optionsBox);
  options_ = new QLabel("None", optionsBox);
  options_->setObjectName("MnlblOptsUsed");
  options_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  options_->setToolTip("The options in force: set them on the Preferences and Dp Options pages");
  optionsLayout->addWidget(options_);

  // Status and progress.
  status_ = new QLabel(this);
  status_->setObjectName("MnLblStatus");
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setWordWrap(true);
  status_->setMinimumHeight(fontMetrics().height() * 2 + 8);
  status_->setFocusPolicy(Qt::ClickFocus);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setToolTip("Status of the last action or run");
  progressTitle_ = new QLabel(this);
  progressTitle_->setObjectName("MnLblProgress");
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName("MnProgressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  percent_ = new QLabel(this);
  percent_->setObjectName("MnLblPercent");
  percent_->setMinimumWidth(fontMetrics().horizontalAdvance("100 %"));
  const auto halt = [this] {
    if (run_.running()) run_.halt();
  };
  activity_ = new ActivityIcon(halt, this);
  activity_->setObjectName("MnImgRun");
  for (QWidget* widget : {static_cast<QWidget*>(progressTitle_), static_cast<QWidget*>(progressBar_),
                          static_cast<QWidget*>(percent_)}) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->setVisible(false);
  }
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(progressTitle_);
  progressRow->addWidget(progressBar_, 1);
  progressRow->addWidget(percent_);
  progressRow->addWidget(activity_);

  // Check boxes.
  turnOffHint_ = makeCheckBox("&Turn off \"All\" Panel Hints", "MnCkTurnOffHint",
                              "Hides these hints in every window of the program", this);
  viewResults_ = makeCheckBox("&Bypass show of Report Panel", "MnCkViewResults",
                              "A run ends with its status only; no report viewer opens", this);
  omitIniSv_ = makeCheckBox("Bypass Ini &Update On Exit", "MnCkOmitIniSv",
                            "The settings file is not written when the program ends", this);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(turnOffHint_);
  boxes->addWidget(viewResults_);
  boxes->addWidget(omitIniSv_);
  boxes->addStretch(1);

  // Buttons.
  start_ = makeButton("&Start", "MnButStart", "Compare the New and Old names with the chosen types", this);
  halt_ = makeButton("&Halt", "MnButStop", "Stop the running compare at its next file", this);
  QSizePolicy haltPolicy = halt_->sizePolicy();
  haltPolicy.setRetainSizeWhenHidden(true);
  halt_->setSizePolicy(haltPolicy);
  halt_->setVisible(false);
  exit_ = makeButton("E&xit", "MnButExit", "End the program", this);
  dirSelect_ =
      makeButton("&DirSelect", "MnButDirSelect", "Pick the New and Old directories by browsing", this);
  fileSelect_ = makeButton("&FileSelect", "MnButFileSelect", "Pick the New and Old files by browsing", this);
  reShow_ =
      makeButton("&Re-Show Last Report Panel", "MnButRshow", "Show the report of the last run again", this);
  reShow_->setEnabled(false);
  loadIni_ = makeButton("Load User &Ini", "MnButLoadIni",
                        "Load from file Saved  - Preferences, Dp Opts, & Compare File Names", this);
  saveIni_ = makeButton("S&v User Ini", "MnButSaveIni",
                        "Save to file -  Preferences, Dp Opts, & Compare File Names", this);
  auto* buttons = new QGridLayout;
  buttons->addWidget(start_, 0, 0);
  buttons->addWidget(halt_, 0, 1);
  buttons->addWidget(exit_, 0, 2);
  buttons->addWidget(dirSelect_, 1, 0);
  buttons->addWidget(fileSelect_, 1, 1);
  buttons->addWidget(reShow_, 1, 2);
  buttons->addWidget(loadIni_, 2, 0);
  buttons->addWidget(saveIni_, 2, 1);

  auto* page = new QVBoxLayout(this);
  page->addWidget(names);
  page->addLayout(typesRow);
  page->addWidget(optionsBox);
  page->addWidget(status_);
  page->addLayout(progressRow);
  page->addLayout(boxes);
  page->addLayout(buttons);
  page->addStretch(1);

  // Write-through of the controls.
  connect(listType_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.listType = text.toStdString();
  });
  connect(compareType_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.compareType = text.toStdString();
  });
  connect(subDirs_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) session_.app.choices.includeSubdirs = on;
  });
  connect(exclude_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_) session_.app.choices.excludeMasks = text.toStdString();
  });
  connect(turnOffHint_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    session_.panel.MnCkTurnOffHint = on;
    emit hintsSwitched(on);
  });
  connect(viewResults_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) session_.panel.MnCkViewResults = on;
  });
  connect(omitIniSv_, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) session_.panel.MnCkOmitIniSv = on;
  });

  connect(start_, &QPushButton::clicked, this, &MainPanelPage::start);
  connect(halt_, &QPushButton::clicked, this, [this] { run_.halt(); });
  connect(reShow_, &QPushButton::clicked, this, &MainPanelPage::reShow);
  connect(exit_, &QPushButton::clicked, this, &MainPanelPage::exitRequested);
  connect(dirSelect_, &QPushButton::clicked, this, &MainPanelPage::dirSelectRequested);
  connect(fileSelect_, &QPushButton::clicked, this, &MainPanelPage::fileSelectRequested);
  connect(loadIni_, &QPushButton::clicked, this, &MainPanelPage::loadIniRequested);
  connect(saveIni_, &QPushButton::clicked, this, &MainPanelPage::saveIniRequested);
  showState();
}

void MainPanelPage::showState() {
  showing_ = true;
  newName_->refresh();
  oldName_->refresh();
  showComboText(listType_, session_.app.choices.listType);
  showComboText(compareType_, session_.app.choices.compareType);
  subDirs_->setChecked(session_.app.choices.includeSubdirs);
  exclude_->setText(QString::fromStdString(session_.app.choices.excludeMasks));
  options_->setText(QString::fromStdString(session_.app.optionsString));
  turnOffHint_->setChecked(session_.panel.MnCkTurnOffHint);
  viewResults_->setChecked(session_.panel.MnCkViewResults);
  omitIniSv_->setChecked(session_.panel.MnCkOmitIniSv);
  showing_ = false;
}

GuiHost::Display MainPanelPage::display() {
  GuiHost::Display display;
  display.status = status_;
  display.progressTitle = progressTitle_;
  display.progressBar = progressBar_;
  display.percent = percent_;
  display.activity = activity_;
  display.dialogParent = window();
  return display;
}

void MainPanelPage::setRunning(bool running) {
  for (QWidget* control : {static_cast<QWidget*>(start_), static_cast<QWidget*>(exit_),
                           static_cast<QWidget*>(dirSelect_), static_cast<QWidget*>(fileSelect_),
                           static_cast<QWidget*>(loadIni_), static_cast<QWidget*>(viewResults_)})
    control->setEnabled(!running);
  reShow_->setEnabled(!running && reShowReady_);
  halt_->setVisible(running);
}

void MainPanelPage::reportReady() {
  reShowReady_ = true;
  reShow_->setEnabled(!run_.running());
}

void MainPanelPage::focusTarget(FocusTarget target) {
  switch (target) {
    case FocusTarget::NewName:
      newName_->setFocus();
      break;
    case FocusTarget::OldName:
      oldName_->setFocus();
      break;
    case FocusTarget::ExitButton:
      exit_->setFocus();
      break;
    case FocusTarget::StatusPanel:
      status_->setFocus();
      break;
  }
}

void MainPanelPage::start() {
  // The fields write through as they change; take their texts once more in case a change was missed.
  session_.panel.MnCbNewDirNm.text = newName_->currentText().toStdString();
  session_.panel.MnCbOldDirNm.text = oldName_->currentText().toStdString();
  session_.app.choices.listType = listType_->currentText().toStdString();
  session_.app.choices.compareType = compareType_->currentText().toStdString();
  session_.app.choices.includeSubdirs = subDirs_->isChecked();
  session_.app.choices.excludeMasks = exclude_->text().toStdString();
  starting_ = true;
  run_.start(session_.panel.MnCbNewDirNm.text, session_.panel.MnCbOldDirNm.text);
  starting_ = false;
  // The run may have changed the compare type (the two-files question) and the name histories.
  showState();
  emit startFinished();
}

void MainPanelPage::reShow() {
  if (run_.reShow()) return;
  reShowReady_ = false;
  reShow_->setEnabled(false);
}

}  // namespace kelvarine
