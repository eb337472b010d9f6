#include "ui/qt/like_name_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/qt/gui_host.h"
#include "ui/qt/selection_controls.h"

namespace kelvarine {

LikeNameWindow::LikeNameWindow(Host& host, FileSystem& files, FlowServices& flow, QWidget* parent)
    : QDialog(parent), host_(host), files_(files), flow_(flow) {
  setObjectName("FrmLNm");
  setWindowTitle(LikeNameSelection::kCaption);
  setModal(true);

  newPath_ = makeNamedLabel({}, "LNLblNewPath", this);
  oldPath_ = makeNamedLabel({}, "LNLblOldPath", this);
  newPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  oldPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* paths = new QGridLayout;
  paths->addWidget(makeNamedLabel("New Path Name:", "LNLblNewPathCap", this), 0, 0);
  paths->addWidget(newPath_, 0, 1);
  paths->addWidget(makeNamedLabel("Old  Path  Name:", "LNLblOldPathCap", this), 1, 0);
  paths->addWidget(oldPath_, 1, 1);
  paths->setColumnStretch(1, 1);

  paired_ = new PickListWidget(QAbstractItemView::ExtendedSelection, this);
  paired_->setObjectName("LNListPaired");
  selected_ = new PickListWidget(QAbstractItemView::ExtendedSelection, this);
  selected_->setObjectName("LNListSelected");
  pairedCount_ = makeNamedLabel("(0)", "LNLblPairedCount", this);
  selectedCount_ = makeNamedLabel("(0)", "LNLblSelectedCount", this);

  auto* pairedCaption = makeNamedLabel("Like Named &Paired Files:", "LNLblPaired", this);
  pairedCaption->setBuddy(paired_);
  auto* selectedCaption = makeNamedLabel("Se&lected Paired Files:", "LNLblSelected", this);
  selectedCaption->setBuddy(selected_);

  QPushButton* move = makeSelectionButton("&Select Highlighted  >", "LNButMove", this);
  QPushButton* moveBack = makeSelectionButton("<  &Unselect Highlighted", "LNButMoveBack", this);
  QPushButton* moveAll = makeSelectionButton("Select &All Paired  >>", "LNButMoveAll", this);
  QPushButton* moveAllBack = makeSelectionButton("<<  Unselect All Selec&ted", "LNButMoveAllBack", this);
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* button : {move, moveBack, moveAll, moveAllBack})
    moves->addWidget(button);
  moves->addStretch();

  auto* lists = new QGridLayout;
  lists->addWidget(pairedCaption, 0, 0);
  lists->addWidget(selectedCaption, 0, 2);
  lists->addWidget(paired_, 1, 0);
  lists->addLayout(moves, 1, 1);
  lists->addWidget(selected_, 1, 2);
  auto* pairedCountRow = new QHBoxLayout;
  pairedCountRow->addWidget(makeNamedLabel("# Of Paired Files", "LNLblPairedCountCap", this));
  pairedCountRow->addWidget(pairedCount_);
  pairedCountRow->addStretch();
  auto* selectedCountRow = new QHBoxLayout;
  selectedCountRow->addWidget(makeNamedLabel("# Of Selected Files", "LNLblSelectedCountCap", this));
  selectedCountRow->addWidget(selectedCount_);
  selectedCountRow->addStretch();
  lists->addLayout(pairedCountRow, 2, 0);
  lists->addLayout(selectedCountRow, 2, 2);
  lists->setColumnStretch(0, 1);
  lists->setColumnStretch(2, 1);

  filter_ = new FilterCombo(this);
  filter_->setObjectName("LNCbFilter");
  auto* filterCaption = makeNamedLabel("Like File &Filter:", "LNLblFilter", this);
  filterCaption->setBuddy(filter_);
  byName_ = new QRadioButton("File &Name", this);
  byName_->setObjectName("LNRbFileName");
  byExtension_ = new QRadioButton("&Extension", this);
  byExtension_->setObjectName("LNRbExtension");
  auto* sortGroup = new QButtonGroup(this);
  sortGroup->addButton(byName_);
  sortGroup->addButton(byExtension_);
  byName_->setChecked(true);
  auto* sortBox = new QGroupBox("Sort Like Named Files By:", this);
  sortBox->setObjectName("LNGbSort");
  auto* sortLayout = new QHBoxLayout(sortBox);
  sortLayout->addWidget(byName_);
  sortLayout->addWidget(byExtension_);
  auto* choices = new QHBoxLayout;
  choices->addWidget(filterCaption);
  choices->addWidget(filter_);
  choices->addStretch();
  choices->addWidget(sortBox);

  const StartReturnRow ends = makeStartReturnRow(this, "LN");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(paths);
  layout->addLayout(lists, 1);
  layout->addLayout(choices);
  layout->addLayout(ends.layout);
  resize(760, 480);

  auto select = [this] { act([this] { model_->selectHighlighted(host_); }); };
  auto unselect = [this] { act([this] { model_->unselectHighlighted(host_); }); };
  connect(move, &QPushButton::clicked, this, select);
  connect(moveBack, &QPushButton::clicked, this, unselect);
  connect(moveAll, &QPushButton::clicked, this, [this] { act([this] { model_->selectAllPaired(); }); });
  connect(moveAllBack, &QPushButton::clicked, this,
          [this] { act([this] { model_->unselectAllSelected(host_); }); });
  connect(paired_, &PickListWidget::enterPressed, this, select);
  connect(paired_, &QListWidget::itemDoubleClicked, this, select);
  connect(selected_, &PickListWidget::enterPressed, this, unselect);
  connect(selected_, &PickListWidget::deletePressed, this, unselect);
  connect(selected_, &QListWidget::itemDoubleClicked, this, unselect);
  connect(byName_, &QRadioButton::toggled, this, [this](bool on) {
    act([this, on] { model_->chooseSort(on ? LikeNameSort::FileName : LikeNameSort::Extension); });
  });
  connect(filter_, &FilterCombo::filterEntered, this, [this](const QString& text) {
    act([this, &text] { model_->changeFilter(files_, text.toStdString()); });
  });
  connect(ends.start, &QPushButton::clicked, this, &LikeNameWindow::start);
}

int LikeNameWindow::openOver(LikeNameSelection& model) {
  model_ = &model;
  showModel();
  paired_->setFocus();
  return exec();
}

void LikeNameWindow::takeHighlights() {
  paired_->copyHighlights(model_->paired());
  selected_->copyHighlights(model_->selected());
}

void LikeNameWindow::showModel() {
  paired_->showList(model_->paired());
  selected_->showList(model_->selected());
  pairedCount_->setText(QString::fromStdString(model_->paired().countText()));
  selectedCount_->setText(QString::fromStdString(model_->selected().countText()));
  newPath_->setText(DisplayText(model_->newPathLabel()));
  oldPath_->setText(DisplayText(model_->oldPathLabel()));
  filter_->showFilter(model_->filter());
  const QSignalBlocker nameBlocker(byName_), extensionBlocker(byExtension_);
  (model_->sortChoice() == LikeNameSort::FileName ? byName_ : byExtension_)->setChecked(true);
}

template <typename Act>
void LikeNameWindow::act(Act act) {
  if (model_ == nullptr) return;
  takeHighlights();
  act();
  showModel();
}

void LikeNameWindow::start() {
  if (model_ == nullptr) return;
  // A filter typed and not yet entered counts before the selection is read (Start by its accelerator
  // leaves the field only when the window hides).
  filter_->commit();
  takeHighlights();
  startFromWindow(*this, model_->selected().empty(), [this] { model_->startCompare(flow_); });
}

}  // namespace kelvarine
