#include "ui/qt/viewer_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/change_map_strip.h"
#include "ui/qt/find_dialog.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/print_flow.h"
#include "ui/qt/ruler_label.h"
#include "ui/qt/save_flow.h"
#include "ui/qt/screen_fit.h"

namespace kelvarine {
namespace {

QString prefixOf(ViewerKind kind) {
  switch (kind) {
    case ViewerKind::Single:
      return QStringLiteral("Vs");
    case ViewerKind::Dual:
      return QStringLiteral("Vd");
    case ViewerKind::Horizontal:
      break;
  }
  return QStringLiteral("Vh");
}

QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

bool hasRow(const QListView* view, int row) {
  return view != nullptr && row >= 0 && row < view->model()->rowCount();
}

// Makes `row` the current and only selected row of `view` (none when it has no such row).
void selectRow(QListView* view, int row) {
  if (!hasRow(view, row)) {
    view->selectionModel()->clear();
    return;
  }
  view->selectionModel()->setCurrentIndex(view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

// Rows that `view` shows at once (at least 1).
int visibleRows(const QListView* view) {
  const int rowHeight = view->sizeHintForRow(0);
  return rowHeight > 0 ? std::max(1, view->viewport()->height() / rowHeight) : 1;
}

constexpr ViewerList kSecond = ViewerList::OldSide;

}  // namespace

ViewerWindow::ViewerWindow(ViewerKind kind, GuiSession& session, Host& host, QWidget* parent)
    : QDialog(parent), kind_(kind), session_(session), host_(host) {
  const QString prefix = prefixOf(kind);
  setObjectName(prefix + QStringLiteral("Window"));
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  newLabel_ = makeLabel(QString(), prefix + QStringLiteral("LbNewName"), this);
  oldLabel_ = makeLabel(QString(), prefix + QStringLiteral("LbOldName"), this);
  layout->addWidget(newLabel_);
  layout->addWidget(oldLabel_);
  layout->addWidget(makePairRow(prefix));

  if (kind == ViewerKind::Single) {
    layout->addWidget(makePanel(firstModel_, first_, firstHeader_, ViewerList::Report,
                                QStringLiteral("VsList"), QStringLiteral("VsLbHeader"), true),
                      1);
  } else {
    const bool dual = kind == ViewerKind::Dual;
    splitter_ = new QSplitter(dual ? Qt::Horizontal : Qt::Vertical, this);
    splitter_->setObjectName(prefix + QStringLiteral("Splitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(
        makePanel(firstModel_, first_, firstHeader_, ViewerList::Report,
                  prefix + (dual ? QStringLiteral("ListLeft") : QStringLiteral("ListTop")),
                  prefix + (dual ? QStringLiteral("LbHeaderLeft") : QStringLiteral("LbHeaderTop")), !dual));
    splitter_->addWidget(makePanel(
        secondModel_, second_, secondHeader_, kSecond,
        prefix + (dual ? QStringLiteral("ListRight") : QStringLiteral("ListBottom")),
        prefix + (dual ? QStringLiteral("LbHeaderRight") : QStringLiteral("LbHeaderBottom")), dual));
    layout->addWidget(splitter_, 1);
    splitter_->installEventFilter(this);
    coupleLists();
  }
  if (kind != ViewerKind::Horizontal) layout->addWidget(makeExplanations(prefix));
  // The two rows of controls scroll sideways where the screen is narrower than they are (a large scale).
  auto* controls = new QWidget(this);
  controls->setObjectName(prefix + QStringLiteral("Controls"));
  auto* rows = new QVBoxLayout(controls);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addWidget(makeNavigationRow(prefix));
  rows->addWidget(makeCommandRow(prefix));
  rows->addStretch(1);  // the room kept for the scroll bar stays below the rows when it is not shown
  layout->addWidget(makeSideScrollable(controls, this));
  setListFont(ViewerFont(8));
  for (QLabel* label : {newLabel_, oldLabel_})
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // The map follows the first list, which the second one follows.
  connect(map_, &ChangeMapStrip::rowRequested, this, &ViewerWindow::mapRowRequested);
  connect(first_->verticalScrollBar(), &QScrollBar::valueChanged, this, &ViewerWindow::updateMapBand);
  connect(first_->verticalScrollBar(), &QScrollBar::rangeChanged, this, &ViewerWindow::updateMapBand);
  find_ = new FindDialog(nullptr, this);
  connect(find_, &FindDialog::rowFound, this, [this] { showSelection(); });
  installFindShortcuts(this, find_);
  if (kind != ViewerKind::Horizontal) {
    printFlow_ = std::make_unique<ReportPrintFlow>(session_, host_);
    saveFlow_ = std::make_unique<ReportSaveFlow>(session_, host_);
  }
}

ViewerWindow::~ViewerWindow() {
  release();
}

QWidget* ViewerWindow::makePanel(ReportListModel*& model, QListView*& view, RulerLabel*& header,
                                 ViewerList list, const QString& listName, const QString& headerName,
                                 bool withMap) {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(1);
  header = new RulerLabel(panel);
  header->setObjectName(headerName);
  header->setTextFormat(Qt::PlainText);
  // The header is as long as a report line: it is cut at the list's width rather than widen the window.
  header->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  column->addWidget(header);
  model = new ReportListModel(list, this);
  view = new QListView(panel);
  view->setObjectName(listName);
  SetUpReportList(*view, *model, ViewerFont(8));
  if (withMap) {
    auto* beside = new QHBoxLayout;
    beside->setSpacing(2);
    beside->addWidget(view, 1);
    map_ = new ChangeMapStrip(panel);
    map_->setObjectName(listName.left(2) + QStringLiteral("ChangeMap"));
    beside->addWidget(map_);
    column->addLayout(beside, 1);
  } else {
    column->addWidget(view, 1);
  }
  // The header's columns stand over the rows' columns: indented by the list's frame and text margin.
  header->setIndent(view->frameWidth() +
                    view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
  connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, header, &RulerLabel::setScrollOffset);
  QListView* self = view;
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this, self](const QModelIndex& current) { listRowChanged(self, current.row()); });
  return panel;
}

QWidget* ViewerWindow::makePairRow(const QString& prefix) {
  pairRow_ = new QWidget(this);
  auto* line = new QHBoxLayout(pairRow_);
  line->setContentsMargins(0, 0, 0, 0);
  pairList_ = new QComboBox(pairRow_);
  pairList_->setObjectName(prefix + QStringLiteral("CbPair"));
  pairList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  pairList_->setMinimumContentsLength(24);
  pairList_->setMaxVisibleItems(20);
  pairList_->setToolTip(tr("The pairs of the report: choose one to go to its section"));
  QLabel* label = makeLabel(tr("&Pair:"), prefix + QStringLiteral("LbPair"), pairRow_);
  label->setBuddy(pairList_);
  line->addWidget(label);
  line->addWidget(pairList_, 1);
  connect(pairList_, &QComboBox::activated, this, &ViewerWindow::pairChosen);
  pairRow_->hide();
  return pairRow_;
}

QPushButton* ViewerWindow::makeButton(const QString& text, const QString& name) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(name);
  button->setAutoDefault(true);  // a clicked button keeps the focus and Enter presses it again
  return button;
}

QWidget* ViewerWindow::makeNavigationRow(const QString& prefix) {
  auto* row = new QWidget(this);
  auto* line = new QHBoxLayout(row);
  line->setContentsMargins(0, 0, 0, 0);
  QPushButton* top = makeButton(QStringLiteral("To &Top"), prefix + QStringLiteral("ButTop"));
  QPushButton* bottom = makeButton(QStringLiteral("To &Btm"), prefix + QStringLiteral("ButBtm"));
  QPushButton* nextChange = makeButton(QString(), prefix + QStringLiteral("ButNextChg"));
  QPushButton* previousChange = makeButton(QString(), prefix + QStringLiteral("ButPrevChg"));
  nextFile_ = makeButton(QString(), prefix + QStringLiteral("ButNextFile"));
  nextChange->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  previousChange->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  nextFile_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  nextChange->setToolTip(tr("Next change"));
  previousChange->setToolTip(tr("Previous change"));
  nextFile_->setToolTip(tr("Next file section"));
  line->addWidget(top);
  line->addWidget(bottom);
  line->addSpacing(12);
  line->addWidget(nextChange);
  line->addWidget(previousChange);
  line->addWidget(makeLabel(
      kind_ == ViewerKind::Single ? QStringLiteral("Next Chg Seq.") : QStringLiteral("Nxt Chg Span"),
      prefix + QStringLiteral("LbNextChg"), row));
  changeCounter_ = makeLabel(QString(), prefix + QStringLiteral("LbChgCount"), row);
  changeCounter_->setFrameShape(QFrame::StyledPanel);
  line->addWidget(changeCounter_);
  line->addSpacing(12);
  line->addWidget(nextFile_);
  line->addWidget(
      makeLabel(QStringLiteral("Nxt File Chg Sect."), prefix + QStringLiteral("LbNextFile"), row));
  line->addSpacing(12);
  line->addWidget(makeLabel(QStringLiteral("(Cr for Repeat)"), prefix + QStringLiteral("LbRepeat"), row));
  if (kind_ == ViewerKind::Dual) {
    line->addSpacing(12);
    QPushButton* hSplit = makeButton(QStringLiteral("HSplit"), prefix + QStringLiteral("ButHSplit"));
    line->addWidget(hSplit);
    connect(hSplit, &QPushButton::clicked, this, &ViewerWindow::hSplitRequested);
  }
  line->addStretch(1);
  connect(top, &QPushButton::clicked, this, &ViewerWindow::toTop);
  connect(bottom, &QPushButton::clicked, this, &ViewerWindow::toBottom);
  connect(nextChange, &QPushButton::clicked, this, &ViewerWindow::nextChange);
  connect(previousChange, &QPushButton::clicked, this, &ViewerWindow::previousChange);
  connect(nextFile_, &QPushButton::clicked, this, &ViewerWindow::nextFileSection);
  return row;
}

QWidget* ViewerWindow::makeCommandRow(const QString& prefix) {
  auto* row = new QWidget(this);
  auto* line = new QHBoxLayout(row);
  line->setContentsMargins(0, 0, 0, 0);
  QPushButton* find = makeButton(QStringLiteral("Find..."), prefix + QStringLiteral("ButFind"));
  QPushButton* legend = makeButton(QStringLiteral("Legend"), prefix + QStringLiteral("ButLegend"));
  line->addWidget(find);
  line->addWidget(legend);
  connect(find, &QPushButton::clicked, this, &ViewerWindow::onFind);
  connect(legend, &QPushButton::clicked, this, &ViewerWindow::legendRequested);
  if (kind_ != ViewerKind::Horizontal) {
    QPushButton* print = makeButton(QStringLiteral("Print..."), prefix + QStringLiteral("ButPrint"));
    QPushButton* saveAs = makeButton(QStringLiteral("SaveAs..."), prefix + QStringLiteral("ButSaveAs"));
    halt_ = makeButton(QStringLiteral("Halt"), prefix + QStringLiteral("ButHalt"));
    halt_->hide();
    printFontSize_ = new QComboBox(row);
    printFontSize_->setObjectName(prefix + QStringLiteral("CbPFontSz"));
    printFontSize_->addItems({"6", "8", "9", "10", "11", "12"});
    printFontSize_->setCurrentText(QStringLiteral("8"));
    fontSize_ = new QComboBox(row);
    fontSize_->setObjectName(prefix + QStringLiteral("CbFontSz"));
    fontSize_->addItems({"8", "9", "10", "11", "12"});
    htmlSize_ = new QComboBox(row);
    htmlSize_->setObjectName(prefix + QStringLiteral("CbHtmlSz"));
    htmlSize_->addItems({"1", "2", "3", "4"});
    htmlSize_->setCurrentText(QStringLiteral("3"));
    line->addWidget(print);
    line->addWidget(makeLabel(tr("Print Sz"), prefix + QStringLiteral("LbPFontSz"), row));
    line->addWidget(printFontSize_);
    line->addWidget(saveAs);
    line->addWidget(makeLabel(tr("Html Sz"), prefix + QStringLiteral("LbHtmlSz"), row));
    line->addWidget(htmlSize_);
    line->addWidget(makeLabel(tr("Font Sz"), prefix + QStringLiteral("LbFontSz"), row));
    line->addWidget(fontSize_);
    line->addWidget(halt_);
    if (kind_ == ViewerKind::Dual) {
      noRefNumbers_ = new QCheckBox(QStringLiteral("Print No Ref#"), row);
      noRefNumbers_->setObjectName(prefix + QStringLiteral("CkNoRef"));
      line->addWidget(noRefNumbers_);
    }
    connect(print, &QPushButton::clicked, this, &ViewerWindow::onPrint);
    connect(saveAs, &QPushButton::clicked, this, &ViewerWindow::onSaveAs);
    connect(fontSize_, &QComboBox::currentTextChanged, this,
            [this](const QString& size) { setListFont(ViewerFont(size.toInt())); });
  }
  line->addStretch(1);
  return_ = makeButton(QStringLiteral("Return"), prefix + QStringLiteral("ButReturn"));
  // Enter presses Return wherever no button has the focus; the horizontal viewer closes on Esc only.
  return_->setDefault(kind_ != ViewerKind::Horizontal);
  line->addWidget(return_);
  connect(return_, &QPushButton::clicked, this, &ViewerWindow::returnClicked);
  return row;
}

QWidget* ViewerWindow::makeExplanations(const QString& prefix) {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(0);
  QLabel* inserts = makeLabel(QStringLiteral("Inserts :"), prefix + QStringLiteral("LbInserts"), box);
  QLabel* deletes = makeLabel(QStringLiteral("Deletes:"), prefix + QStringLiteral("LbDeletes"), box);
  inserts->setStyleSheet(QStringLiteral("color: #0000FF"));
  deletes->setStyleSheet(QStringLiteral("color: #FF0000"));
  grid->addWidget(inserts, 0, 0);
  grid->addWidget(
      makeLabel(QStringLiteral("New File lines that have been added. They were not in the Old File. "),
                prefix + QStringLiteral("LbInsertsText"), box),
      0, 1);
  grid->addWidget(deletes, 1, 0);
  grid->addWidget(
      makeLabel(QStringLiteral("Old File lines that are missing after being updated to the New File "),
                prefix + QStringLiteral("LbDeletesText"), box),
      1, 1);
  grid->setColumnStretch(1, 1);
  return box;
}

void ViewerWindow::coupleLists() {
  // With one row per scroll step the vertical scroll bar's value is the top row.
  connect(first_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { scrollFollow(first_, value); });
  connect(second_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { scrollFollow(second_, value); });
  if (kind_ == ViewerKind::Horizontal) second_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ViewerWindow::scrollFollow(QListView* from, int value) {
  if (couplingOff_) return;
  QListView* other = from == first_ ? second_ : first_;
  // The other list stops at its last row when this one goes beyond it (the scroll bar clamps), and
  // with the coupling off this list keeps its own top row.
  couplingOff_ = true;
  other->verticalScrollBar()->setValue(value);
  couplingOff_ = false;
}

void ViewerWindow::listRowChanged(QListView* from, int row) {
  if (couplingOff_ || !model_) return;
  if (row >= 0) model_->select(row);
  selectionMoved();
  if (second_ == nullptr) return;
  QListView* other = from == first_ ? second_ : first_;
  couplingOff_ = true;
  selectRow(other, row);
  other->verticalScrollBar()->setValue(from->verticalScrollBar()->value());
  couplingOff_ = false;
}

void ViewerWindow::selectionMoved() {
  if (!model_) return;
  const std::int64_t selected = model_->selected();
  changeCounter_->setText(QString::fromStdString(ChangeCounterText(changes_, selected)));
  const QSignalBlocker quiet(pairList_);
  pairList_->setCurrentIndex(PairEntryAt(pairs_, selected));
}

void ViewerWindow::updateMapBand() {
  map_->setVisibleRows(first_->verticalScrollBar()->value(), visibleRows(first_));
}

void ViewerWindow::mapRowRequested(qint64 row) {
  first_->verticalScrollBar()->setValue(static_cast<int>(CentredTopRow(row, visibleRows(first_))));
}

void ViewerWindow::pairChosen(int index) {
  if (!model_ || index < 0 || index >= static_cast<int>(pairs_.size())) return;
  const std::int64_t row = pairs_[static_cast<std::size_t>(index)].sectionRow;
  if (row < 0) return;
  model_->select(row);
  showSelection();
  first_->setFocus();
}

void ViewerWindow::fillPairList() {
  const QSignalBlocker quiet(pairList_);
  pairList_->clear();
  for (const PairListEntry& entry : pairs_)
    pairList_->addItem(DisplayText(entry.text));
  // A pair the report lists no section for is shown but cannot be chosen.
  if (auto* items = qobject_cast<QStandardItemModel*>(pairList_->model())) {
    for (int i = 0; i < static_cast<int>(pairs_.size()); ++i)
      if (pairs_[static_cast<std::size_t>(i)].sectionRow < 0) items->item(i)->setEnabled(false);
  }
  const auto pairCount = static_cast<qsizetype>(std::min(pairs_.size(), session_.app.NewFileList.size()));
  pairList_->setPlaceholderText(tr("%1 pairs: choose one to go to its section").arg(pairCount));
  pairList_->setCurrentIndex(-1);
  pairRow_->setVisible(!pairs_.empty());
}

void ViewerWindow::openReport(const ViewerLayout& layout) {
  model_.emplace(session_.app, host_, kind_);
  // Found once per opening: one pass over the rows for the map and the counter, one for the pairs.
  changes_ = FindReportChanges(*model_);
  map_->setChanges(&changes_);
  pairs_ = ListReportPairs(session_.app);
  fillPairList();
  find_->setModel(&*model_);
  firstModel_->setViewerModel(&*model_);
  if (secondModel_ != nullptr) secondModel_->setViewerModel(&*model_);
  setWindowTitle(DisplayText(layout.caption));
  firstHeader_->setText(DisplayText(layout.reportHeader));
  firstHeader_->setVisible(layout.headerShown);
  if (secondHeader_ != nullptr) {
    secondHeader_->setText(DisplayText(layout.oldSideHeader));
    secondHeader_->setVisible(layout.headerShown);
  }
  newLabel_->setText(DisplayText(layout.newLabel));
  oldLabel_->setText(DisplayText(layout.oldLabel));
  nextFile_->setEnabled(layout.fileSectionEnabled);
  first_->scrollToTop();
  if (second_ != nullptr) second_->scrollToTop();
  model_->select(layout.initialSelection);
  couplingOff_ = true;
  selectRow(first_, static_cast<int>(layout.initialSelection));
  if (second_ != nullptr) selectRow(second_, static_cast<int>(layout.initialSelection));
  couplingOff_ = false;
  selectionMoved();
  updateMapBand();
  first_->setFocus();
}

void ViewerWindow::release() {
  find_->setModel(nullptr);
  find_->close();
  map_->setChanges(nullptr);
  changes_ = {};
  pairs_.clear();
  fillPairList();
  firstModel_->setViewerModel(nullptr);
  if (secondModel_ != nullptr) secondModel_->setViewerModel(nullptr);
  model_.reset();
}

void ViewerWindow::showSelection() {
  if (!model_) return;
  const int row = static_cast<int>(model_->selected());
  couplingOff_ = true;
  selectRow(first_, row);
  if (second_ != nullptr) selectRow(second_, row);
  if (hasRow(first_, row)) {
    first_->verticalScrollBar()->setValue(static_cast<int>(NavigationTopRow(row, visibleRows(first_))));
    if (second_ != nullptr) second_->verticalScrollBar()->setValue(first_->verticalScrollBar()->value());
  }
  couplingOff_ = false;
  selectionMoved();
}

void ViewerWindow::toTop() {
  if (!model_) return;
  model_->selectTop();
  couplingOff_ = true;
  selectRow(first_, 0);
  if (second_ != nullptr) selectRow(second_, 0);
  first_->scrollToTop();
  if (second_ != nullptr) second_->scrollToTop();
  couplingOff_ = false;
  selectionMoved();
}

void ViewerWindow::toBottom() {
  if (!model_) return;
  model_->selectBottom();
  if (second_ == nullptr) {
    showSelection();
    return;
  }
  // Each list goes to its own last row: the Old-side list is mostly the shorter one.
  couplingOff_ = true;
  for (auto [view, list] : {std::pair{first_, ViewerList::Report}, std::pair{second_, kSecond}}) {
    const int last = static_cast<int>(model_->bottomRow(list));
    selectRow(view, last);
    if (last >= 0) view->scrollTo(view->model()->index(last, 0), QAbstractItemView::PositionAtBottom);
  }
  couplingOff_ = false;
  selectionMoved();
  first_->setFocus();
}

void ViewerWindow::nextChange() {
  if (!model_) return;
  model_->nextChange();
  showSelection();
}

void ViewerWindow::previousChange() {
  if (!model_) return;
  model_->previousChange();
  showSelection();
}

void ViewerWindow::nextFileSection() {
  if (!model_) return;
  model_->nextFileSection();
  showSelection();
}

void ViewerWindow::onFind() {
  find_->openFind();
}

ViewerBusyControls ViewerWindow::busyControls() const {
  ViewerBusyControls controls{halt_, {}, return_};
  for (const char* name : {"ButReturn", "ButLegend", "ButTop", "ButBtm", "ButSaveAs", "ButFind", "ButPrint",
                           "ButNextChg", "ButPrevChg"})
    controls.disabled.push_back(findChild<QWidget*>(prefixOf(kind_) + QLatin1String(name)));
  return controls;
}

void ViewerWindow::onPrint() {
  if (!model_ || !printFlow_) return;
  const PrintSource source{kind_ == ViewerKind::Dual, windowTitle().toStdString(),
                           printFontSize().toStdString(),
                           noRefNumbers_ != nullptr && noRefNumbers_->isChecked()};
  printFlow_->print(this, source, busyControls());
}

void ViewerWindow::onSaveAs() {
  if (!model_ || !saveFlow_) return;
  const SaveSource source{kind_ == ViewerKind::Dual, windowTitle().toStdString(), reportStamp_,
                          htmlSize_->currentText().toStdString()};
  saveFlow_->saveAs(this, source, session_.app.newNameText, busyControls());
}

void ViewerWindow::returnClicked() {
  if (second_ != nullptr) first_->setFocus();
  accept();
}

QString ViewerWindow::displayFontSize() const {
  return fontSize_ != nullptr ? fontSize_->currentText() : QString::number(first_->font().pointSize());
}

QString ViewerWindow::printFontSize() const {
  return printFontSize_ != nullptr ? printFontSize_->currentText() : QStringLiteral("8");
}

void ViewerWindow::setFontSizes(const QString& displaySize, const QString& printSize) {
  // A size that the fields do not offer (a settings file edited by hand) is added rather than lost.
  for (auto [box, size] : {std::pair{fontSize_, displaySize}, std::pair{printFontSize_, printSize}}) {
    if (box == nullptr || size.isEmpty()) continue;
    if (box->findText(size) < 0) box->addItem(size);
    box->setCurrentText(size);
  }
  setListFont(ViewerFont(displaySize.toInt()));
}

void ViewerWindow::setListFont(const QFont& font) {
  ApplyListFont(*first_, *firstModel_, font);
  firstHeader_->setFont(font);
  if (second_ != nullptr) {
    ApplyListFont(*second_, *secondModel_, font);
    secondHeader_->setFont(font);
  }
}

QFont ViewerWindow::listFont() const {
  return first_->font();
}

ViewerGeometry ViewerWindow::windowGeometry() const {
  return ViewerGeometry{x(), y(), width(), height()};
}

void ViewerWindow::setWindowGeometry(const ViewerGeometry& geometry) {
  move(geometry.left, geometry.top);
  resize(geometry.width, geometry.height);
}

int ViewerWindow::splitSize() const {
  if (splitter_ == nullptr) return 0;
  if (pendingSplit_ > 0) return pendingSplit_;
  return splitter_->sizes().value(0);
}

void ViewerWindow::setSplitSize(int size) {
  if (splitter_ == nullptr || size <= 0) return;
  pendingSplit_ = size;
  if (splitter_->isVisible()) applySplit(splitter_->size());
}

void ViewerWindow::applySplit(QSize splitterSize) {
  const int total =
      (splitter_->orientation() == Qt::Horizontal ? splitterSize.width() : splitterSize.height()) -
      splitter_->handleWidth();
  if (total <= 0) return;
  splitter_->setSizes({pendingSplit_, std::max(total - pendingSplit_, 1)});
  pendingSplit_ = 0;
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
  // A split set before the window was shown is applied when the splitter gets its real size.
  if (watched == splitter_ && event->type() == QEvent::Resize && pendingSplit_ > 0)
    applySplit(static_cast<QResizeEvent*>(event)->size());
  return QDialog::eventFilter(watched, event);
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes only the horizontal viewer; the other two close through Return.
  if (event->key() == Qt::Key_Escape && kind_ != ViewerKind::Horizontal) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kelvarine
