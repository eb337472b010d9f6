#include "ui/qt/file_select_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/name_history_combo.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {

// The files of one directory of a file-system model that the name filter lets through, ascending
// ignoring case; rows outside that directory (its ancestors) pass so that it can be the list's root.
class FileListFilter : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void setDirectory(const QString& directory) {
    directory_ = directory;
    invalidateFilter();
  }
  void setMask(const std::string& mask) {
    mask_ = mask;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
    if (model->filePath(parent) != directory_) return true;
    const QModelIndex index = model->index(row, 0, parent);
    return !model->isDir(index) &&
           MatchesMask(QFile::encodeName(model->fileName(index)).toStdString(), mask_);
  }
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
    const QString a = model->fileName(left), b = model->fileName(right);
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
  }

 private:
  QString directory_;
  std::string mask_ = "*.*";
};

namespace {

QString toQt(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQt(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// The file a drag carries (the first local URL when it names a file), else empty.
QString draggedFile(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) return {};
  const QString path = mime->urls().constFirst().toLocalFile();
  return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

// A directory tree for navigation: directories only, one column, scrolling sideways over long names.
QTreeView* makeDirectoryTree(QFileSystemModel* model, QWidget* parent) {
  auto* tree = new QTreeView(parent);
  tree->setModel(model);
  for (int column = 1; column < model->columnCount(); ++column)
    tree->hideColumn(column);
  tree->setHeaderHidden(true);
  tree->header()->setStretchLastSection(false);
  tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return tree;
}

}  // namespace

FileSelectPage::FileSelectPage(GuiSession& session, Host& host, QWidget* parent)
    : QWidget(parent), session_(session), host_(host) {
  setObjectName(QStringLiteral("FileSelectPage"));
  dirModel_ = new QFileSystemModel(this);
  dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  dirModel_->setRootPath(QStringLiteral("/"));
  dirTree_ = makeDirectoryTree(dirModel_, this);
  dirTree_->setObjectName(QStringLiteral("FsDirTree"));

  // Regular files (dot-files included) and the directories above them; no FIFOs, sockets or devices.
  fileModel_ = new QFileSystemModel(this);
  fileModel_->setFilter(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
  files_ = new FileListFilter(this);
  files_->setSourceModel(fileModel_);
  files_->setDynamicSortFilter(true);
  files_->sort(0);
  list_ = new QListView(this);
  list_->setObjectName(QStringLiteral("FsList"));
  list_->setModel(files_);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  drive_ = new QComboBox(this);
  drive_->setObjectName(QStringLiteral("FsCbDrive"));
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid() && volume.isReady()) roots << volume.rootPath();
  roots.sort();
  roots.removeDuplicates();
  drive_->addItems(roots);
  filter_ = new QLineEdit(toQt(state_.filter), this);
  filter_->setObjectName(QStringLiteral("FsEdFilter"));

  selected_ = new QLabel(this);
  selected_->setObjectName(QStringLiteral("FsLblSelected"));
  selected_->setTextFormat(Qt::PlainText);
  selected_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  selected_->installEventFilter(this);

  MainPanelState& panel = session_.panel;
  newField_ = new NameHistoryCombo(panel.FsTcNewFileNm, session_.files, HistoryAccepts::FilesOnly, this);
  newField_->setObjectName(QStringLiteral("FsTcNewFileNm"));
  oldField_ = new NameHistoryCombo(panel.FsTcOldFileNm, session_.files, HistoryAccepts::FilesOnly, this);
  oldField_->setObjectName(QStringLiteral("FsTcOldFileNm"));

  auto* toNew = new QPushButton(QStringLiteral("To Main &New Filename"), this);
  toNew->setObjectName(QStringLiteral("FsButToNew"));
  auto* toOld = new QPushButton(QStringLiteral("To Main &Old Filename"), this);
  toOld->setObjectName(QStringLiteral("FsButToOld"));
  auto* returnButton = new QPushButton(QStringLiteral("Return"), this);
  returnButton->setObjectName(QStringLiteral("FsButReturn"));
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("FsButCancel"));
  noWarn_ = new QCheckBox(QStringLiteral("No Warn on return with Input File Name not changed"), this);
  noWarn_->setObjectName(QStringLiteral("FsCkNoWarnNoFileChg"));

  auto* browse = new QGridLayout;
  browse->addWidget(new QLabel(QStringLiteral("Drive:"), this), 0, 0);
  browse->addWidget(drive_, 0, 1);
  browse->addWidget(new QLabel(QStringLiteral("Filter:"), this), 0, 2);
  browse->addWidget(filter_, 0, 3);
  browse->addWidget(dirTree_, 1, 0, 1, 2);
  browse->addWidget(list_, 1, 2, 1, 2);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Selected:"), selected_);
  fields->addRow(QStringLiteral("New File:"), newField_);
  fields->addRow(QStringLiteral("Old File:"), oldField_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(toNew);
  buttons->addWidget(toOld);
  buttons->addWidget(noWarn_);
  buttons->addStretch();
  buttons->addWidget(returnButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(browse, 1);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  connect(dirTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (moving_ || !current.isValid()) return;
            moveToDirectory(fromQt(dirModel_->filePath(current)));
            scrollTarget_.clear();  // the user is looking at it already
          });
  // Both models are read in the background: rows read or sorted above the directory (or the file)
  // shown would push it out of view, so the views are scrolled back until the user takes over.
  auto* keepInView = new QTimer(this);
  keepInView->setSingleShot(true);
  connect(keepInView, &QTimer::timeout, this, [this] {
    if (scrollTarget_.isEmpty()) return;
    dirTree_->scrollTo(dirTree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    if (list_->currentIndex().isValid())
      list_->scrollTo(list_->currentIndex(), QAbstractItemView::PositionAtCenter);
  });
  const auto scheduleScroll = [this, keepInView] {
    if (!scrollTarget_.isEmpty()) keepInView->start(0);
  };
  for (QAbstractItemModel* model :
       {static_cast<QAbstractItemModel*>(dirModel_), static_cast<QAbstractItemModel*>(files_)}) {
    connect(model, &QAbstractItemModel::rowsInserted, this, scheduleScroll);
    connect(model, &QAbstractItemModel::layoutChanged, this, scheduleScroll);
  }
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(dirTree_), static_cast<QAbstractItemView*>(list_)}) {
    connect(view, &QAbstractItemView::pressed, this, [this] { scrollTarget_.clear(); });
    connect(view->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { scrollTarget_.clear(); });
  }
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            const QModelIndex source = files_->mapToSource(current);
            if (moving_ || !source.isValid() || fileModel_->isDir(source)) return;
            FileSelectClicked(state_, fromQt(fileModel_->fileName(source)));
            selected_->setText(toQt(state_.label));
          });
  connect(drive_, &QComboBox::textActivated, this,
          [this](const QString& root) { moveToDirectory(fromQt(root)); });
  connect(filter_, &QLineEdit::editingFinished, this, [this] {
    PageServices page = services();
    FileSelectFilterChanged(page, state_, fromQt(filter_->text()));
    files_->setMask(state_.filter);
    showList();
  });
  connect(toNew, &QPushButton::clicked, this, [this] { toMain(NameSide::New); });
  connect(toOld, &QPushButton::clicked, this, [this] { toMain(NameSide::Old); });
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
  connect(noWarn_, &QCheckBox::toggled, this, [this](bool on) { session_.panel.FsCkNoWarnNoFileChg = on; });

  for (NameHistoryCombo* field : {newField_, oldField_}) {
    const NameSide side = field == newField_ ? NameSide::New : NameSide::Old;
    QLineEdit* edit = field->lineEdit();
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, side] {
      if (edit->isModified()) fieldChanged(side);
    });
    connect(field, &QComboBox::textActivated, this, [this, side] { fieldChanged(side); });
    // The selected-file label (or a file from elsewhere) may be dropped on the fields.
    for (QWidget* target : {static_cast<QWidget*>(field), static_cast<QWidget*>(edit)}) {
      target->setAcceptDrops(true);
      target->installEventFilter(this);
    }
  }
}

PageServices FileSelectPage::services() {
  return PageServices{session_.app, session_.panel, session_.files, host_, fromQt(QDir::currentPath())};
}

void FileSelectPage::enter(PageMemory& memory) {
  memory_ = &memory;
  PageServices page = services();
  EnterFileSelect(page, state_);
  showList();
  showState();
  emit mainPanelChanged();
}

bool FileSelectPage::tryReturn() {
  if (memory_ == nullptr) return true;
  PageServices page = services();
  return FileSelectReturn(page, *memory_);
}

void FileSelectPage::moveToDirectory(const std::string& directory) {
  PageServices page = services();
  FileSelectDirectoryChanged(page, state_, directory);
  showList();
}

void FileSelectPage::showList() {
  moving_ = true;
  const QString directory = QDir::cleanPath(toQt(state_.directory));
  fileModel_->setRootPath(directory);
  files_->setDirectory(directory);
  list_->setRootIndex(files_->mapFromSource(fileModel_->index(directory)));
  const QModelIndex file = state_.selectedFile.empty()
                               ? QModelIndex()
                               : files_->mapFromSource(fileModel_->index(toQt(state_.selectedFile)));
  list_->selectionModel()->clearSelection();
  list_->setCurrentIndex(file);
  if (file.isValid()) list_->scrollTo(file, QAbstractItemView::PositionAtCenter);

  const QModelIndex tree = dirModel_->index(directory);
  scrollTarget_ = directory;
  if (tree.isValid()) {
    dirTree_->setCurrentIndex(tree);
    dirTree_->scrollTo(tree, QAbstractItemView::PositionAtCenter);
  }
  const int drive = drive_->findText(QStorageInfo(directory).rootPath());
  if (drive >= 0) drive_->setCurrentIndex(drive);
  selected_->setText(toQt(state_.label));
  moving_ = false;
}

void FileSelectPage::showState() {
  selected_->setText(toQt(state_.label));
  newField_->refresh();
  oldField_->refresh();
  noWarn_->setChecked(session_.panel.FsCkNoWarnNoFileChg);
}

void FileSelectPage::toMain(NameSide side) {
  PageServices page = services();
  if (!FileSelectToMain(page, state_, side)) return;
  showState();
  emit mainPanelChanged();
}

void FileSelectPage::fieldChanged(NameSide side) {
  PageServices page = services();
  if (!FileSelectFieldChanged(page, state_, side)) return;
  showList();
  showState();
  emit mainPanelChanged();
}

bool FileSelectPage::labelEvent(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
    pressedAt_ = mouse->position().toPoint();
    return true;
  }
  if (event->type() != QEvent::MouseMove || !(mouse->buttons() & Qt::LeftButton) ||
      state_.selectedFile.empty())
    return false;
  if ((mouse->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
    return true;
  auto* mime = new QMimeData;
  mime->setUrls({QUrl::fromLocalFile(toQt(state_.selectedFile))});
  mime->setText(toQt(state_.selectedFile));
  auto* drag = new QDrag(selected_);
  drag->setMimeData(mime);
  drag->exec(Qt::CopyAction);
  return true;
}

bool FileSelectPage::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == selected_) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove) return labelEvent(event);
    return QWidget::eventFilter(watched, event);
  }
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QWidget::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  const QString file = draggedFile(drop->mimeData());
  if (file.isEmpty()) {
    event->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    if (fromQt(file) != state_.selectedFile) {
      const QFileInfo info(file);
      PageServices page = services();
      FileSelectDirectoryChanged(page, state_, fromQt(info.absolutePath()));
      FileSelectClicked(state_, fromQt(info.fileName()));
      showList();
    }
    const bool toNewSide = watched == newField_ || watched == newField_->lineEdit();
    toMain(toNewSide ? NameSide::New : NameSide::Old);
  }
  return true;
}

}  // namespace kelvarine
