#pragma once
// Finds a control of the form by name. A control the code relies on but the
// form lacks is a build fault: it stops the program at start-up in every
// build type, with the control's name, instead of a null pointer later.

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace zr {

template <typename T>
T* RequireChild(const QObject& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) {
    throw std::logic_error("the window has no control " + name.toStdString() + " of type " +
                           T::staticMetaObject.className());
  }
  return child;
}

}  // namespace zr
