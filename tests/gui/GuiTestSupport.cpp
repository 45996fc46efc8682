#include "GuiTestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace tessel::test {

namespace {

void poll(std::shared_ptr<std::function<void(QWidget*)>> action, int triesLeft) {
  QTimer::singleShot(0, qApp, [action, triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      (*action)(modal);
    } else if (triesLeft > 0) {
      poll(action, triesLeft - 1);
    } else {
      ADD_FAILURE() << "no modal window opened";
    }
  });
}

}  // namespace

void onNextModal(std::function<void(QWidget* modal)> action) {
  poll(std::make_shared<std::function<void(QWidget*)>>(std::move(action)), 100000);
}

QStringList itemsOf(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace tessel::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
