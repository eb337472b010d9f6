#include "ui/qt/assistant_page.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

#include "ui/qt/name_history_combo.h"

namespace kelvarine {

QString toQtPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQtPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QFileSystemModel* makeDirectoryModel(QObject* parent) {
  auto* model = new QFileSystemModel(parent);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model->setRootPath(QStringLiteral("/"));
  return model;
}

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

AssistantPage::AssistantPage(GuiSession& session, Host& host, HistoryAccepts accepts, ReturnQuestion question,
                             QWidget* parent)
    : QWidget(parent), session_(session), host_(host), accepts_(accepts), question_(question) {}

PageServices AssistantPage::services() {
  return PageServices{session_.app, session_.panel, session_.files, host_, fromQtPath(QDir::currentPath())};
}

bool AssistantPage::tryReturn() {
  if (memory_ == nullptr) return true;
  PageServices page = services();
  return question_(page, *memory_);
}

NameHistoryCombo* AssistantPage::makeNameField(NameHistoryField& field, const QString& name, NameSide side) {
  auto* combo = new NameHistoryCombo(field, session_.files, accepts_, this);
  combo->setObjectName(name);
  QLineEdit* edit = combo->lineEdit();
  connect(edit, &QLineEdit::editingFinished, this, [this, edit, side] {
    if (!edit->isModified()) return;
    markUsed();
    fieldChanged(side);
  });
  connect(combo, &QComboBox::textActivated, this, [this, side] {
    markUsed();
    fieldChanged(side);
  });
  acceptDrops(combo, side);
  acceptDrops(edit, side);
  return combo;
}

void AssistantPage::acceptDrops(QWidget* target, NameSide side) {
  target->setAcceptDrops(true);
  target->installEventFilter(this);
  dropTargets_.emplace_back(target, side);
}

void AssistantPage::markUsed() {
  if (memory_ != nullptr) memory_->assistantUsed = true;
}

QLabel* AssistantPage::makeSelectedLabel(const QString& name) {
  auto* label = new QLabel(this);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

std::pair<QPushButton*, QPushButton*> AssistantPage::makeLeaveButtons(const QString& prefix) {
  auto* returnButton = new QPushButton(QStringLiteral("Return"), this);
  returnButton->setObjectName(prefix + QStringLiteral("ButReturn"));
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setObjectName(prefix + QStringLiteral("ButCancel"));
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
  return {returnButton, cancelButton};
}

QCheckBox* AssistantPage::makeNoWarnBox(const QString& text, const QString& name, bool& setting) {
  auto* box = new QCheckBox(text, this);
  box->setObjectName(name);
  connect(box, &QCheckBox::toggled, this, [&setting](bool on) { setting = on; });
  return box;
}

void AssistantPage::keepInView(std::initializer_list<QAbstractItemView*> views) {
  const std::vector<QAbstractItemView*> kept(views);
  auto* timer = new QTimer(this);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, this, [this, kept] {
    if (scrollTarget_.isEmpty()) return;
    for (QAbstractItemView* view : kept)
      if (view->currentIndex().isValid())
        view->scrollTo(view->currentIndex(), QAbstractItemView::PositionAtCenter);
  });
  const auto schedule = [this, timer] {
    if (!scrollTarget_.isEmpty()) timer->start(0);
  };
  for (QAbstractItemView* view : kept) {
    connect(view->model(), &QAbstractItemModel::rowsInserted, this, schedule);
    connect(view->model(), &QAbstractItemModel::layoutChanged, this, schedule);
    connect(view, &QAbstractItemView::pressed, this, [this] { scrollTarget_.clear(); });
    connect(view->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { scrollTarget_.clear(); });
  }
}

bool AssistantPage::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const auto target = std::find_if(dropTargets_.begin(), dropTargets_.end(),
                                   [watched](const auto& entry) { return entry.first == watched; });
  if (target == dropTargets_.end() ||
      (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
    return QWidget::eventFilter(watched, event);
  // The first local URL of the drag, when it names the page's kind of name.
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData* mime = drop->mimeData();
  QString path;
  if (mime != nullptr && mime->hasUrls() && !mime->urls().isEmpty())
    path = mime->urls().constFirst().toLocalFile();
  const QFileInfo info(path);
  if (path.isEmpty() || !(accepts_ == HistoryAccepts::DirectoriesOnly ? info.isDir() : info.isFile())) {
    event->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    markUsed();
    dropped(path, target->second);
  }
  return true;
}

}  // namespace kelvarine
