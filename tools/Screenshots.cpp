// tessel-screenshots: pictures of the dialogs for the manuals, taken
// headless. A developer's program, built beside tessel and never installed.
//   tessel-screenshots [--lang zh|en] DIR [SOURCE]
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include "AppIcon.h"
#include "CardDlg.h"
#include "ConfigDlg.h"
#include "GuiHost.h"
#include "SetupDlg.h"
#include "TesselDlg.h"
#include "util/Language.h"
#include "util/Paths.h"

namespace tessel {
namespace {

// The dialog's client area below a plain title bar with icon and caption.
QImage framed(QWidget& dialog) {
  const QPixmap client = dialog.grab();
  const QFont titleFont = dialog.font();
  const int titleHeight = QFontMetrics(titleFont).height() + 12;
  const int border = 1;
  QImage image(client.width() + 2 * border, client.height() + titleHeight + border,
               QImage::Format_ARGB32);
  image.fill(QColor(0x5a, 0x6a, 0x78));
  QPainter painter(&image);
  painter.fillRect(QRect(border, border, client.width(), titleHeight - border),
                   QColor(0xe9, 0xee, 0xf2));
  const int iconSize = titleHeight - 10;
  painter.drawImage(QRect(border + 6, border + 4, iconSize, iconSize),
                    RenderTesselIcon(64).scaled(iconSize, iconSize, Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation));
  painter.setFont(titleFont);
  painter.setPen(QColor(0x1d, 0x24, 0x2b));
  painter.drawText(QRect(border + iconSize + 12, border, client.width() - iconSize - 40,
                         titleHeight - border),
                   Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
  // The close box.
  const QRect close(image.width() - border - titleHeight + 6, border + 5, titleHeight - 12,
                    titleHeight - 12);
  painter.setPen(QPen(QColor(0x1d, 0x24, 0x2b), 1.5));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawLine(close.topLeft(), close.bottomRight());
  painter.drawLine(close.topRight(), close.bottomLeft());
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawPixmap(border, titleHeight, client);
  return image;
}

bool save(QWidget& dialog, const QDir& folder, const QString& name) {
  dialog.show();
  QCoreApplication::processEvents();
  const QString path = folder.filePath(name);
  const bool ok = framed(dialog).save(path, "PNG");
  dialog.hide();
  QTextStream(ok ? stdout : stderr) << (ok ? "wrote " : "cannot write ") << path << '\n';
  return ok;
}

// Saves main.png, setup.png and config.png of the three dialogs into
// `folder`, each framed with its caption, and with a `source` project
// main-after-run.png (the dialog after converting it) and card.png (the card
// dialog after copying that output to a folder). Returns 0 on success.
int saveScreenshots(const QString& folder, const QString& source) {
  QDir dir(folder);
  if (!dir.mkpath(QStringLiteral("."))) {
    QTextStream(stderr) << "cannot create " << folder << '\n';
    return 1;
  }
  CTesselDlg main;
  bool ok = save(main, dir, QStringLiteral("main.png"));
  ok = save(main.setupDialog(), dir, QStringLiteral("setup.png")) && ok;
  ok = save(main.configDialog(), dir, QStringLiteral("config.png")) && ok;
  if (!source.isEmpty()) {
    // The dialog after a run of `source`, into a folder of its own: no
    // boxes, the parameters accepted as read, nothing opened.
    QTemporaryDir output;
    main.runOptions().outputRoot = ToPath(output.path());
    auto& hooks = main.host().hooks();
    hooks.message = [](QWidget*, const QString&, const QString& text) {
      QTextStream(stderr) << text << '\n';
    };
    hooks.runSetup = [](CSetupDlg&) { return int(QDialog::Accepted); };
    hooks.openUrl = [](const QUrl&) {};
    hooks.wait = [](int) {};
    main.show();
    main.takeSource(source);
    main.startConversion();
    main.waitForRun();
    ok = save(main, dir, QStringLiteral("main-after-run.png")) && ok;
    // The card dialog once the copy was read back, a folder for the card.
    QTemporaryDir card;
    CCardDlg copy(ToPath(output.path()), &main);
    copy.setTarget(ToPath(card.path()));
    copy.show();
    copy.write();
    copy.waitForCopy();
    ok = save(copy, dir, QStringLiteral("card.png")) && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace

}  // namespace tessel

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // As the tessel program sets itself up, so that the dialogs look the same.
  QApplication::setApplicationName(QStringLiteral("tessel"));
  QApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
  QApplication::setWindowIcon(tessel::TesselIcon());
  tessel::SetProgramFolder(tessel::ToPath(QApplication::applicationDirPath()));
  QStringList arguments = QApplication::arguments();
  const tessel::LanguageArgument language = tessel::TakeLanguageArgument(arguments);
  if (language.bad || arguments.size() < 2 || arguments.size() > 3) {
    if (language.bad) QTextStream(stderr) << "tessel-screenshots: " << language.errorText() << '\n';
    QTextStream(stderr) << "usage: tessel-screenshots [--lang zh|en] DIR [SOURCE]\n";
    return 2;
  }
  tessel::UseLanguage(language.language ? *language.language : tessel::SystemLanguage());
  return tessel::saveScreenshots(arguments.at(1), arguments.size() > 2 ? arguments.at(2) : QString());
}
