#include "ui/qt/file_select_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
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

FileSelectPage::FileSelectPage(GuiSession& session, Host& host, QWidget* parent)
    : AssistantPage(session, host, HistoryAccepts::FilesOnly, FileSelectReturn, parent) {
  setObjectName(QStringLiteral("FileSelectPage"));
  dirModel_ = makeDirectoryModel(this);
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
  filter_ = new QLineEdit(toQtPath(state_.filter), this);
  filter_->setObjectName(QStringLiteral("FsEdFilter"));

  selected_ = makeSelectedLabel(QStringLiteral("FsLblSelected"));
  selected_->installEventFilter(this);

  // The selected-file label (or a file from elsewhere) may be dropped on the fields.
  MainPanelState& panel = session_.panel;
  newField_ = makeNameField(panel.FsTcNewFileNm, QStringLiteral("FsTcNewFileNm"), NameSide::New);
  oldField_ = makeNameField(panel.FsTcOldFileNm, QStringLiteral("FsTcOldFileNm"), NameSide::Old);

  auto* toNew = new QPushButton(QStringLiteral("To Main &New Filename"), this);
  toNew->setObjectName(QStringLiteral("FsButToNew"));
  auto* toOld = new QPushButton(QStringLiteral("To Main &Old Filename"), this);
  toOld->setObjectName(QStringLiteral("FsButToOld"));
  const auto [returnButton, cancelButton] = makeLeaveButtons(QStringLiteral("Fs"));
  noWarn_ = makeNoWarnBox(QStringLiteral("No Warn on return with Input File Name not changed"),
                          QStringLiteral("FsCkNoWarnNoFileChg"), panel.FsCkNoWarnNoFileChg);

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
  // The "No Warn" box on a line of its own, so that the page stays narrow enough for a small screen.
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(toNew);
  buttons->addWidget(toOld);
  buttons->addStretch();
  buttons->addWidget(returnButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(browse, 1);
  layout->addLayout(fields);
  layout->addWidget(noWarn_);
  layout->addLayout(buttons);

  connect(dirTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (moving_ || !current.isValid()) return;
            markUsed();
            moveToDirectory(fromQtPath(dirModel_->filePath(current)));
            scrollTarget_.clear();  // the user is looking at it already
          });
  // Both models are read in the background: rows read or sorted above the directory (or the file)
  // shown would push it out of view.
  keepInView({dirTree_, list_});
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            const QModelIndex source = files_->mapToSource(current);
            if (moving_ || !source.isValid() || fileModel_->isDir(source)) return;
            markUsed();
            FileSelectClicked(state_, fromQtPath(fileModel_->fileName(source)));
            selected_->setText(toQtPath(state_.label));
          });
  connect(drive_, &QComboBox::textActivated, this, [this](const QString& root) {
    markUsed();
    moveToDirectory(fromQtPath(root));
  });
  connect(filter_, &QLineEdit::editingFinished, this, [this] {
    PageServices page = services();
    FileSelectFilterChanged(page, state_, fromQtPath(filter_->text()));
    files_->setMask(state_.filter);
    showList();
  });
  connect(toNew, &QPushButton::clicked, this, [this] { toMain(NameSide::New); });
  connect(toOld, &QPushButton::clicked, this, [this] { toMain(NameSide::Old); });
}

void FileSelectPage::enter(PageMemory& memory) {
  memory_ = &memory;
  PageServices page = services();
  EnterFileSelect(page, state_);
  showList();
  showState();
  emit mainPanelChanged();
}

void FileSelectPage::moveToDirectory(const std::string& directory) {
  PageServices page = services();
  FileSelectDirectoryChanged(page, state_, directory);
  showList();
}

void FileSelectPage::showList() {
  moving_ = true;
  const QString directory = QDir::cleanPath(toQtPath(state_.directory));
  fileModel_->setRootPath(directory);
  files_->setDirectory(directory);
  list_->setRootIndex(files_->mapFromSource(fileModel_->index(directory)));
  const QModelIndex file = state_.selectedFile.empty()
                               ? QModelIndex()
                               : files_->mapFromSource(fileModel_->index(toQtPath(state_.selectedFile)));
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
  selected_->setText(toQtPath(state_.label));
  moving_ = false;
}

void FileSelectPage::showState() {
  selected_->setText(toQtPath(state_.label));
  newField_->refresh();
  oldField_->refresh();
  noWarn_->setChecked(session_.panel.FsCkNoWarnNoFileChg);
}

void FileSelectPage::toMain(NameSide side) {
  PageServices page = services();
  if (!FileSelectToMain(page, state_, side)) return;
  markUsed();
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
  mime->setUrls({QUrl::fromLocalFile(toQtPath(state_.selectedFile))});
  mime->setText(toQtPath(state_.selectedFile));
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
  return AssistantPage::eventFilter(watched, event);
}

void FileSelectPage::dropped(const QString& file, NameSide side) {
  if (fromQtPath(file) != state_.selectedFile) {
    const QFileInfo info(file);
    PageServices page = services();
    FileSelectDirectoryChanged(page, state_, fromQtPath(info.absolutePath()));
    FileSelectClicked(state_, fromQtPath(info.fileName()));
    showList();
  }
  toMain(side);
}

}  // namespace kelvarine
