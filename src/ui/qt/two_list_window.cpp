#include "ui/qt/two_list_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/gui_host.h"
#include "ui/qt/selection_controls.h"

namespace kelvarine {

TwoListWindow::SideControls TwoListWindow::makeSide(PairSide side) {
  const QString which = side == PairSide::New ? "New" : "Old";
  SideControls c;
  c.files = new PickListWidget(QAbstractItemView::SingleSelection, this);
  c.files->setObjectName("ULList" + which);
  c.highlighted = new QLineEdit(this);
  c.highlighted->setObjectName("ULEd" + which + "Highlighted");
  c.highlighted->setReadOnly(true);
  c.highlighted->setFocusPolicy(Qt::ClickFocus);
  c.filter = new FilterCombo(this);
  c.filter->setObjectName("ULCb" + which + "Filter");
  c.directory = makeNamedLabel({}, "ULLbl" + which + "Dir", this);
  c.directory->setTextInteractionFlags(Qt::TextSelectableByMouse);
  c.count = makeNamedLabel("(0)", "ULLbl" + which + "Count", this);

  connect(c.files, &QListWidget::itemSelectionChanged, this, [this, side] { takeFileHighlight(side); });
  connect(c.files, &PickListWidget::enterPressed, this, &TwoListWindow::selectPair);
  connect(c.files, &QListWidget::itemDoubleClicked, this, &TwoListWindow::selectPair);
  connect(c.filter, &FilterCombo::filterEntered, this, [this, side](const QString& text) {
    if (model_ == nullptr) return;
    pairs_->copyHighlights(model_->pairs());
    model_->changeFilter(files_, side, text.toStdString());
    showModel();
  });
  return c;
}

TwoListWindow::TwoListWindow(Host& host, FileSystem& files, FlowServices& flow, QWidget* parent)
    : QDialog(parent), host_(host), files_(files), flow_(flow) {
  setObjectName("FrmULNm");
  setWindowTitle(TwoListSelection::kCaption);
  setModal(true);
  new_ = makeSide(PairSide::New);
  old_ = makeSide(PairSide::Old);

  auto* sides = new QGridLayout;
  int column = 0;
  for (PairSide side : {PairSide::New, PairSide::Old}) {
    const bool isNew = side == PairSide::New;
    const QString which = isNew ? "New" : "Old";
    SideControls& c = controls(side);
    auto* dirRow = new QHBoxLayout;
    dirRow->addWidget(
        makeNamedLabel(isNew ? "New Dir Name:" : "Old  Dir  Name:", "ULLbl" + which + "DirCap", this));
    dirRow->addWidget(c.directory, 1);
    auto* listCaption =
        makeNamedLabel(isNew ? "&New Dir Files:" : "&Old Dir Files:", "ULLbl" + which + "Files", this);
    listCaption->setBuddy(c.files);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(listCaption);
    countRow->addStretch();
    countRow->addWidget(
        makeNamedLabel(isNew ? "# New Files:" : "# Old Files:", "ULLbl" + which + "CountCap", this));
    countRow->addWidget(c.count);
    auto* filterCaption =
        makeNamedLabel(isNew ? "New File &Filter:" : "Old File F&ilter:", "ULLbl" + which + "Filter", this);
    filterCaption->setBuddy(c.filter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterCaption);
    filterRow->addWidget(c.filter, 1);

    sides->addLayout(dirRow, 0, column);
    sides->addLayout(countRow, 1, column);
    sides->addWidget(c.files, 2, column);
    sides->addWidget(
        makeNamedLabel(isNew ? "New File Highlighted Selection:" : "Old File Highlighted Selection:",
                       "ULLbl" + which + "Highlighted", this),
        3, column);
    sides->addWidget(c.highlighted, 4, column);
    sides->addLayout(filterRow, 5, column);
    sides->setColumnStretch(column, 1);
    ++column;
  }
  sides->setRowStretch(2, 1);

  QPushButton* pairButton = makeSelectionButton("Select New-Old &Pair  \u2193", "ULButPair", this);
  QPushButton* undoButton = makeSelectionButton("&Undo Selected  \u2191", "ULButUndo", this);
  auto* pairButtons = new QHBoxLayout;
  pairButtons->addStretch();
  pairButtons->addWidget(pairButton);
  pairButtons->addWidget(undoButton);
  pairButtons->addStretch();

  pairs_ = new PickListWidget(QAbstractItemView::ExtendedSelection, this);
  pairs_->setObjectName("ULListPairs");
  pairCount_ = makeNamedLabel("(0)", "ULLblPairCount", this);
  auto* pairsCaption = makeNamedLabel("S&elected File Pair:", "ULLblPairs", this);
  pairsCaption->setBuddy(pairs_);
  auto* pairsRow = new QHBoxLayout;
  pairsRow->addWidget(pairsCaption);
  pairsRow->addStretch();
  pairsRow->addWidget(makeNamedLabel("# Selected File Pairs:", "ULLblPairCountCap", this));
  pairsRow->addWidget(pairCount_);

  const StartReturnRow ends = makeStartReturnRow(this, "UL");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sides, 3);
  layout->addLayout(pairButtons);
  layout->addLayout(pairsRow);
  layout->addWidget(pairs_, 2);
  layout->addLayout(ends.layout);
  resize(760, 600);

  connect(pairButton, &QPushButton::clicked, this, &TwoListWindow::selectPair);
  connect(undoButton, &QPushButton::clicked, this, &TwoListWindow::undoSelected);
  connect(pairs_, &PickListWidget::deletePressed, this, &TwoListWindow::undoSelected);
  connect(ends.start, &QPushButton::clicked, this, &TwoListWindow::start);
}

int TwoListWindow::openOver(TwoListSelection& model) {
  model_ = &model;
  showModel();
  new_.files->setFocus();
  return exec();
}

void TwoListWindow::takeFileHighlight(PairSide side) {
  if (model_ == nullptr) return;
  SideControls& c = controls(side);
  const QList<QListWidgetItem*> chosen = c.files->selectedItems();
  const int row = chosen.isEmpty() ? -1 : c.files->row(chosen.front());
  model_->highlightFile(side, row < 0 ? model_->files(side).size() : static_cast<std::size_t>(row));
  c.highlighted->setText(DisplayText(model_->highlightedName(side)));
}

void TwoListWindow::showSide(PairSide side) {
  SideControls& c = controls(side);
  c.files->showList(model_->files(side));
  c.highlighted->setText(DisplayText(model_->highlightedName(side)));
  c.filter->showFilter(model_->filter(side));
  c.directory->setText(DisplayText(model_->directoryLabel(side)));
  c.count->setText(QString::fromStdString(model_->files(side).countText()));
}

void TwoListWindow::showModel() {
  showSide(PairSide::New);
  showSide(PairSide::Old);
  pairs_->showList(model_->pairs());
  pairCount_->setText(QString::fromStdString(model_->pairs().countText()));
}

void TwoListWindow::selectPair() {
  if (model_ == nullptr) return;
  pairs_->copyHighlights(model_->pairs());
  model_->selectPair(host_);
  showModel();
}

void TwoListWindow::undoSelected() {
  if (model_ == nullptr) return;
  pairs_->copyHighlights(model_->pairs());
  model_->undoSelected(host_);
  showModel();
}

void TwoListWindow::start() {
  if (model_ == nullptr) return;
  // Filters typed and not yet entered count before the pairs are read.
  new_.filter->commit();
  old_.filter->commit();
  pairs_->copyHighlights(model_->pairs());
  startFromWindow(*this, model_->pairs().empty(), [this] { model_->startCompare(flow_); });
}

}  // namespace kelvarine
