#pragma once

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

template <typename T>
T* child(QWidget& parent, const char* name) {
  return child<T>(&parent, name);
}

}  // namespace kelvarine::testing
