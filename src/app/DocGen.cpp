// tessel-docgen: build-time helper. Turns the Markdown manual into the help
// document (PDF) and draws the application icon as a PNG.
//   tessel-docgen pdf MANUAL.md OUT.pdf [FONT.ttf ...]
//   tessel-docgen icon OUT.png SIZE
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextStream>
#include <QUrl>

#include "AppIcon.h"

namespace {

int fail(const QString& text) {
  QTextStream(stderr) << "tessel-docgen: " << text << '\n';
  return 1;
}

// Every picture the manual refers to is loaded here, from its path relative to
// the manual, and kept in the document under its absolute file URL.
// QTextDocument::print() lays out a clone of the document, and a clone keeps
// the resources but not the base URL: a picture named by a relative path is
// looked for in the working folder there and left out when it is not found.
// Pictures wider than the text column are scaled down to fit it. Widths are
// in pixels at 96 per inch, the unit the document layout uses for images.
// Returns the pictures that could not be read.
QStringList embedImages(QTextDocument& document, qreal columnWidth) {
  QStringList missing;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QUrl url = document.baseUrl().resolved(QUrl(format.name()));
      const QImage image(url.toLocalFile());
      if (image.isNull()) {
        missing += format.name();
        continue;
      }
      document.addResource(QTextDocument::ImageResource, url, image);
      format.setName(url.toString());
      if (image.width() > columnWidth) {
        format.setWidth(columnWidth);
        format.setHeight(columnWidth * image.height() / image.width());
      }
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
  return missing;
}

int makePdf(const QString& manualPath, const QString& outPath, const QStringList& fonts) {
  QFile manual(manualPath);
  if (!manual.open(QIODevice::ReadOnly)) return fail("cannot read " + manualPath);
  const QString markdown = QString::fromUtf8(manual.readAll());

  QStringList families;
  for (const QString& font : fonts) {
    const int id = QFontDatabase::addApplicationFont(font);
    if (id < 0) return fail("cannot load font " + font);
    families += QFontDatabase::applicationFontFamilies(id);
  }
  families.removeDuplicates();

  QPdfWriter pdf(outPath);
  pdf.setTitle(QStringLiteral("Tessel"));
  pdf.setCreator(QStringLiteral("tessel-docgen"));
  pdf.setResolution(300);
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter));

  QTextDocument document;
  QFont base(families.isEmpty() ? QStringLiteral("Sans Serif") : families.first(), 10);
  if (!families.isEmpty()) base.setFamilies(families);
  document.setDefaultFont(base);
  document.setDefaultStyleSheet(QStringLiteral("code, pre { font-family: monospace; }"));
  document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(manualPath).absolutePath() + '/'));
  document.setMarkdown(markdown);
  const QRectF column = pdf.pageLayout().paintRect(QPageLayout::Inch);
  const QStringList missing = embedImages(document, column.width() * 96.0 - 8.0);
  if (!missing.isEmpty()) return fail(manualPath + " refers to pictures that cannot be read: " +
                                      missing.join(QStringLiteral(", ")));
  document.print(&pdf);
  if (!QFileInfo(outPath).exists()) return fail("cannot write " + outPath);
  return 0;
}

int makeIcon(const QString& outPath, int size) {
  if (size < 16 || size > 1024) return fail("icon size must lie in 16..1024");
  if (!tessel::renderTesselIcon(size).save(outPath, "PNG")) return fail("cannot write " + outPath);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 4 && args.at(1) == QLatin1String("pdf"))
    return makePdf(args.at(2), args.at(3), args.mid(4));
  if (args.size() == 4 && args.at(1) == QLatin1String("icon"))
    return makeIcon(args.at(2), args.at(3).toInt());
  return fail("usage: tessel-docgen pdf MANUAL.md OUT.pdf [FONT.ttf ...] | icon OUT.png SIZE");
}
