#include "ui/qt/dir_select_page.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt/name_history_combo.h"

namespace kelvarine {
namespace {

// Paths travel between Qt and the logic in the file system's own encoding.
QString toQt(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQt(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// The directory a drag carries (the first local URL when it names a directory), else empty.
QString draggedDirectory(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) return {};
  const QString path = mime->urls().constFirst().toLocalFile();
  return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}  // namespace

DirSelectPage::DirSelectPage(GuiSession& session, Host& host, QWidget* parent)
    : QWidget(parent), session_(session), host_(host) {
  setObjectName(QStringLiteral("DirSelectPage"));
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setRootPath(QStringLiteral("/"));

  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("DsTree"));
  tree_->setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column)
    tree_->hideColumn(column);
  tree_->setHeaderHidden(true);
  // Long names widen the column and the tree scrolls sideways instead of cutting them.
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  tree_->setDragEnabled(true);
  tree_->setDragDropMode(QAbstractItemView::DragOnly);
  tree_->setDefaultDropAction(Qt::CopyAction);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (moving_ || !current.isValid()) return;
            scrollTarget_.clear();
            state_.selectedDirectory = fromQt(model_->filePath(current));
            selected_->setText(toQt(state_.selectedDirectory));
          });

  // The tree is read in the background: rows read or sorted above the directory moved to would push
  // it out of view, so it is scrolled back until the user takes over.
  auto* keepInView = new QTimer(this);
  keepInView->setSingleShot(true);
  connect(keepInView, &QTimer::timeout, this, [this] {
    if (!scrollTarget_.isEmpty()) tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
  });
  const auto scheduleScroll = [this, keepInView] {
    if (!scrollTarget_.isEmpty()) keepInView->start(0);
  };
  connect(model_, &QFileSystemModel::rowsInserted, this, scheduleScroll);
  connect(model_, &QFileSystemModel::layoutChanged, this, scheduleScroll);
  connect(tree_, &QTreeView::pressed, this, [this] { scrollTarget_.clear(); });
  connect(tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { scrollTarget_.clear(); });

  selected_ = new QLabel(this);
  selected_->setObjectName(QStringLiteral("DsLblSelected"));
  selected_->setTextFormat(Qt::PlainText);
  selected_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  MainPanelState& panel = session_.panel;
  newField_ = new NameHistoryCombo(panel.DsInDirN, session_.files, HistoryAccepts::DirectoriesOnly, this);
  newField_->setObjectName(QStringLiteral("DsInDirN"));
  oldField_ = new NameHistoryCombo(panel.DsInDirO, session_.files, HistoryAccepts::DirectoriesOnly, this);
  oldField_->setObjectName(QStringLiteral("DsInDirO"));

  toNew_ = new QPushButton(QStringLiteral("To Main &New Dir"), this);
  toNew_->setObjectName(QStringLiteral("DsButToNew"));
  toOld_ = new QPushButton(QStringLiteral(" To Main &Old Dir"), this);
  toOld_->setObjectName(QStringLiteral("DsButToOld"));
  auto* returnButton = new QPushButton(QStringLiteral("Return"), this);
  returnButton->setObjectName(QStringLiteral("DsButReturn"));
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("DsButCancel"));
  noWarn_ = new QCheckBox(QStringLiteral("No Warn on return with Input Directory Name not changed"), this);
  noWarn_->setObjectName(QStringLiteral("DsCkNoWarnNoDirChg"));

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Selected:"), selected_);
  fields->addRow(QStringLiteral("New Dir:"), newField_);
  fields->addRow(QStringLiteral("Old Dir:"), oldField_);
  auto* handOver = new QHBoxLayout;
  handOver->addWidget(toNew_);
  handOver->addWidget(toOld_);
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

  connect(toNew_, &QPushButton::clicked, this, [this] { toMain(NameSide::New); });
  connect(toOld_, &QPushButton::clicked, this, [this] { toMain(NameSide::Old); });
  connect(returnButton, &QPushButton::clicked, this, [this] {
    if (tryReturn()) emit leaveRequested();
  });
  connect(cancelButton, &QPushButton::clicked, this, [this] {
    if (memory_ != nullptr) {
      PageServices page = services();
      AssistantCancel(page, *memory_);
      emit mainPanelChanged();
    }
    emit leaveRequested();
  });
  connect(noWarn_, &QCheckBox::toggled, this, [this](bool on) { session_.panel.DsCkNoWarnNoDirChg = on; });

  for (auto [field, sideOf] : {std::pair{newField_, NameSide::New}, std::pair{oldField_, NameSide::Old}}) {
    const NameSide fieldSide = sideOf;
    QLineEdit* edit = field->lineEdit();
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, fieldSide] {
      if (edit->isModified()) fieldChanged(fieldSide);
    });
    connect(field, &QComboBox::textActivated, this, [this, fieldSide] { fieldChanged(fieldSide); });
  }
  // The selected directory may be dragged onto the directory fields and the "To Main" buttons.
  for (QWidget* target : {static_cast<QWidget*>(newField_), static_cast<QWidget*>(newField_->lineEdit()),
                          static_cast<QWidget*>(oldField_), static_cast<QWidget*>(oldField_->lineEdit()),
                          static_cast<QWidget*>(toNew_), static_cast<QWidget*>(toOld_)}) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
  }
}

PageServices DirSelectPage::services() {
  return PageServices{session_.app, session_.panel, session_.files, host_, fromQt(QDir::currentPath())};
}

void DirSelectPage::enter(PageMemory& memory) {
  memory_ = &memory;
  PageServices page = services();
  moveTreeTo(EnterDirSelect(page, state_));
  showState();
  emit mainPanelChanged();
}

bool DirSelectPage::tryReturn() {
  if (memory_ == nullptr) return true;
  PageServices page = services();
  return DirSelectReturn(page, *memory_);
}

void DirSelectPage::moveTreeTo(const std::string& directory) {
  const QString path = QDir::cleanPath(toQt(directory));
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
  selected_->setText(toQt(state_.selectedDirectory));
  newField_->refresh();
  oldField_->refresh();
  noWarn_->setChecked(session_.panel.DsCkNoWarnNoDirChg);
}

void DirSelectPage::toMain(NameSide side) {
  PageServices page = services();
  if (!DirSelectToMain(page, state_, side)) return;
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

bool DirSelectPage::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QWidget::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  const QString directory = draggedDirectory(drop->mimeData());
  if (directory.isEmpty()) {
    event->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    const bool toNewSide = watched == toNew_ || watched == newField_ || watched == newField_->lineEdit();
    state_.selectedDirectory = fromQt(directory);
    moveTreeTo(state_.selectedDirectory);
    toMain(toNewSide ? NameSide::New : NameSide::Old);
    selected_->setText(directory);
  }
  return true;
}

}  // namespace kelvarine
