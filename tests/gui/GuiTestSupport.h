#pragma once
// What the GUI tests share: the QApplication (made by the test main), a way
// to act on the next modal window without blocking, control lookup by id.
#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "DialogKit.h"

namespace tessel::test {

// Runs `action` on the next application-modal window as soon as one is
// active (the window is open and its own event loop runs). Arm it before
// the call that opens the window.
void onNextModal(std::function<void(QWidget* modal)> action);

// The items of a drop-down list.
QStringList itemsOf(const QComboBox* box);

template <typename T>
T* control(const QWidget* root, int id) {
  T* found = FindControlAs<T>(root, id);
  if (!found) ADD_FAILURE() << "no control " << id;
  return found;
}

}  // namespace tessel::test
