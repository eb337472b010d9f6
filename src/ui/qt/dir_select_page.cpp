#include "ui/qt/dir_select_page.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/qt/name_history_combo.h"

namespace kelvarine {

DirSelectPage::DirSelectPage(GuiSession& session, Host& host, QWidget* parent)
    : AssistantPage(session, host, HistoryAccepts::DirectoriesOnly, DirSelectReturn, parent) {
  setObjectName(QStringLiteral("DirSelectPage"));
  model_ = makeDirectoryModel(this);
  tree_ = makeDirectoryTree(model_, this);
  tree_->setObjectName(QStringLiteral("DsTree"));
  tree_->setDragEnabled(true);
  tree_->setDragDropMode(QAbstractItemView::DragOnly);
  tree_->setDefaultDropAction(Qt::CopyAction);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (moving_ || !current.isValid()) return;
            scrollTarget_.clear();
            markUsed();
            state_.selectedDirectory = fromQtPath(model_->filePath(current));
            selected_->setText(toQtPath(state_.selectedDirectory));
          });
  keepInView({tree_});

  selected_ = makeSelectedLabel(QStringLiteral("DsLblSelected"));
  MainPanelState& panel = session_.panel;
  newField_ = makeNameField(panel.DsInDirN, QStringLiteral("DsInDirN"), NameSide::New);
  oldField_ = makeNameField(panel.DsInDirO, QStringLiteral("DsInDirO"), NameSide::Old);

  auto* toNew = new QPushButton(QStringLiteral("To Main &New Dir"), this);
  toNew->setObjectName(QStringLiteral("DsButToNew"));
  auto* toOld = new QPushButton(QStringLiteral(" To Main &Old Dir"), this);
  toOld->setObjectName(QStringLiteral("DsButToOld"));
  // The selected directory may be dragged onto the "To Main" buttons as well as the fields.
  acceptDrops(toNew, NameSide::New);
  acceptDrops(toOld, NameSide::Old);
  const auto [returnButton, cancelButton] = makeLeaveButtons(QStringLiteral("Ds"));
  noWarn_ = makeNoWarnBox(QStringLiteral("No Warn on return with Input Directory Name not changed"),
                          QStringLiteral("DsCkNoWarnNoDirChg"), panel.DsCkNoWarnNoDirChg);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Selected:"), selected_);
  fields->addRow(QStringLiteral("New Dir:"), newField_);
  fields->addRow(QStringLiteral("Old Dir:"), oldField_);
  auto* handOver = new QHBoxLayout;
  handOver->addWidget(toNew);
  handOver->addWidget(toOld);
  auto* leave = new QHBoxLayout;
  leave->addStretch();
  leave->addWidget(returnButton);
  leave->addWidget(cancelButton);
  auto* side = new QVBoxLayout;
  side->addLayout(fields);
  side->addLayout(handOver);
  side->addWidget(noWarn_);
  side->addStretch();
  side->addLayout(leave);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addLayout(side, 1);

  connect(toNew, &QPushButton::clicked, this, [this] { toMain(NameSide::New); });
  connect(toOld, &QPushButton::clicked, this, [this] { toMain(NameSide::Old); });
}

void DirSelectPage::enter(PageMemory& memory) {
  memory_ = &memory;
  PageServices page = services();
  moveTreeTo(EnterDirSelect(page, state_));
  showState();
  emit mainPanelChanged();
}

void DirSelectPage::moveTreeTo(const std::string& directory) {
  const QString path = QDir::cleanPath(toQtPath(directory));
  const QModelIndex index = model_->index(path);
  if (!index.isValid()) return;
  scrollTarget_ = path;
  moving_ = true;
  tree_->setCurrentIndex(index);
  tree_->expand(index);
  tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  moving_ = false;
}

void DirSelectPage::showState() {
  selected_->setText(toQtPath(state_.selectedDirectory));
  newField_->refresh();
  oldField_->refresh();
  noWarn_->setChecked(session_.panel.DsCkNoWarnNoDirChg);
}

void DirSelectPage::toMain(NameSide side) {
  PageServices page = services();
  if (!DirSelectToMain(page, state_, side)) return;
  markUsed();
  showState();
  emit mainPanelChanged();
}

void DirSelectPage::fieldChanged(NameSide side) {
  PageServices page = services();
  const std::optional<std::string> moved = DirSelectFieldChanged(page, state_, side);
  if (!moved) return;
  moveTreeTo(*moved);
  showState();
  emit mainPanelChanged();
}

void DirSelectPage::dropped(const QString& directory, NameSide side) {
  state_.selectedDirectory = fromQtPath(directory);
  moveTreeTo(state_.selectedDirectory);
  toMain(side);
  selected_->setText(directory);
}

}  // namespace kelvarine
