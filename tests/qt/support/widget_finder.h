#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <QtGlobal>

namespace kelvarine::testing {

// The child of `parent` of type T named `name`; a missing one ends the test run with its name.
template <typename T>
T* child(QWidget* parent, const char* name) {
  T* found = parent->findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) qFatal("no widget %s", name);
  return found;
}

// Drags `files` onto `target` at `at` and drops them there, as a file manager does; true when the
// target accepts the drag. The drop is sent either way: a refused one must change nothing.
inline bool dragAndDrop(QWidget* target, const QStringList& files, QPoint at = QPoint(2, 2)) {
  QMimeData data;
  for (const QString& file : files)
    data.setUrls(data.urls() << QUrl::fromLocalFile(file));
  data.setText(QUrl::toStringList(data.urls()).join("\n"));  // file managers offer the names as text too
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return enter.isAccepted();
}

}  // namespace kelvarine::testing
