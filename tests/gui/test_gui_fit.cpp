// Every dialog fits its text: in both languages, at the scale factor the
// test runs with (ctest runs it at 1, 1.5 and 2), after a run with
// five-digit counts and long paths, no two controls overlap, each lies
// inside its dialog, and every caption shows whole or elided with a tooltip.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "CardDlg.h"
#include "ConfigDlg.h"
#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"
#include "support/TestSupport.h"
#include "util/Language.h"
#include "util/Paths.h"

namespace tessel::test {
namespace {

QString nameOf(const QWidget* w) {
  const QVariant id = w->property(kControlIdProperty);
  QString text;
  if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
  return QStringLiteral("%1 %2 \"%3\"")
      .arg(QString::fromLatin1(w->metaObject()->className()))
      .arg(id.isValid() ? id.toInt() : -1)
      .arg(text.left(40));
}

// What does not fit in `dialog`, one line each.
QStringList misfits(QWidget& dialog) {
  QStringList found;
  std::vector<QWidget*> shown;
  for (QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w->isWindow() || !w->isVisible()) continue;
    shown.push_back(w);
    if (!dialog.rect().contains(w->geometry())) found << nameOf(w) + " leaves the dialog";
    const QFontMetrics metrics(w->font());
    if (auto* label = dynamic_cast<ElidedLabel*>(w)) {
      if (label->elided() && !label->toolTip().contains(label->fullText())) {
        found << nameOf(w) + " is elided without its text as tooltip";
      }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                        : label->textFormat() == Qt::RichText
                            ? true
                            : metrics.horizontalAdvance(label->text()) <= label->width();
      if (!fits) {
        found << nameOf(w) + QStringLiteral(" is clipped (%1x%2 in %3x%4)")
                                 .arg(label->width())
                                 .arg(label->height())
                                 .arg(dialog.width())
                                 .arg(dialog.height());
      }
    } else if (auto* box = dynamic_cast<WrapCheckBox*>(w)) {
      if (box->heightForWidth(box->width()) > box->height()) found << nameOf(w) + " is clipped";
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      if (metrics.horizontalAdvance(button->text()) + 4 > button->width()) {
        found << nameOf(w) + " is clipped";
      }
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
      QStyleOptionComboBox option;
      option.initFrom(list);
      const int room =
          list->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
              .width();
      for (int i = 0; i < list->count(); ++i) {
        const bool tip = list->itemData(i, Qt::ToolTipRole).toString() == list->itemText(i) &&
                         (i != list->currentIndex() || list->toolTip() == list->itemText(i));
        if (metrics.horizontalAdvance(list->itemText(i)) > room && !tip) {
          found << nameOf(w) + " clips \"" + list->itemText(i) + "\"";
        }
      }
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (shown[i]->geometry().intersects(shown[j]->geometry())) {
        found << nameOf(shown[i]) + " overlaps " + nameOf(shown[j]);
      }
    }
  }
  return found;
}

void settle(QWidget& dialog) {
  dialog.show();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(Fit, EveryDialogShowsItsTextsWithoutOverlapInBothLanguages) {
  const std::string longName(200, 'd');
  for (const Language language : {Language::Chinese, Language::English}) {
    SCOPED_TRACE(language == Language::English ? "English" : "Chinese");
    ASSERT_TRUE(UseLanguage(language));
    CTesselDlg dialog;
    RunResult given;
    given.outcome = RunOutcome::Completed;
    given.branch = Branch::A;
    given.outputRoot = fs::path("/media/card/projects") / longName / "TESSEL";
    given.totals.picturesConverted = 12345;
    given.totals.picturesFound = 12346;
    given.totals.iconsConverted = 45678;
    given.totals.filesWritten = 58024;
    given.totals.warnings = 23456;
    given.report.warnings = {"one warning"};
    dialog.setRunFunction(
        [&](const ConversionSettings&, const RunOptions&, Session&, Host&) { return given; });
    dialog.setOutputRoot(given.outputRoot);
    // A long source path, as typed into the path box.
    control<QLineEdit>(&dialog, CTesselDlg::kIdSourceFolder)
        ->setText(ToQString(fs::path("/home/user") / longName / "project"));
    settle(dialog);
    dialog.startConversion();
    dialog.waitForRun();
    settle(dialog);

    const QStringList main = misfits(dialog);
    EXPECT_TRUE(main.isEmpty()) << main.join(u'\n').toStdString();
    auto* status = control<QLabel>(&dialog, CTesselDlg::kIdStatus);
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(status->text().contains(QStringLiteral("23456"))) << status->text().toStdString();

    for (QDialog* other :
         std::initializer_list<QDialog*>{&dialog.setupDialog(), &dialog.configDialog()}) {
      settle(*other);
      const QStringList found = misfits(*other);
      EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
      other->hide();
    }
    CCardDlg card(given.outputRoot, &dialog);
    card.setTarget(fs::path("/media/user") / longName);
    settle(card);
    const QStringList found = misfits(card);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
  }
  UseLanguage(std::nullopt);
}

}  // namespace
}  // namespace tessel::test
