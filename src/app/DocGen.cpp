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
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextStream>
#include <QUrl>

#include <algorithm>

#include "AppIcon.h"

namespace {

int Fail(const QString& text) {
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
QStringList EmbedImages(QTextDocument& document, qreal columnWidth) {
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

// Markdown escapes a pipe inside a table cell as \| even in code, where the
// parser keeps the backslash: the reader sees a plain pipe.
void UnescapePipes(QTextDocument& document) {
  const QString escaped = QStringLiteral("\\|");
  for (QTextCursor found = document.find(escaped); !found.isNull();
       found = document.find(escaped, found)) {
    const QTextCharFormat format = found.charFormat();
    found.insertText(QStringLiteral("|"), format);
  }
}

// Preformatted blocks in a smaller size, wrapped when a line is still too
// long for the column, so that nothing is cut at the right margin.
void FitPreformatted(QTextDocument& document, qreal pointSize) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (!block.blockFormat().nonBreakableLines()) continue;
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setNonBreakableLines(false);
    cursor.setBlockFormat(format);
    cursor.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat smaller;
    smaller.setFontPointSize(pointSize);
    cursor.mergeCharFormat(smaller);
  }
}

// A heading, its level (1 for #) and where it stands: the page (from 0) and
// the distance from the top of that page, in the document's pixels.
struct Heading {
  QString title;
  int level = 0;
  int page = 0;
  qreal top = 0;
};

// Lays the document out in pages of `page` and moves every heading that
// would stand alone at the foot of a page to the top of the next one.
// Returns the headings where they end up.
QList<Heading> Paginate(QTextDocument& document, const QSizeF& page) {
  document.setPageSize(page);
  QAbstractTextDocumentLayout* layout = document.documentLayout();
  // The layout is made lazily; counting the pages finishes it, so that
  // every place read below is final (and again after each page break).
  document.pageCount();
  QList<Heading> headings;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level == 0) continue;
    const QRectF rect = layout->blockBoundingRect(block);
    const QTextBlock next = block.next();
    if (next.isValid() && block.blockFormat().pageBreakPolicy() == QTextFormat::PageBreak_Auto) {
      const QRectF following = layout->blockBoundingRect(next);
      const qreal firstLine =
          next.layout() && next.layout()->lineCount() > 0 ? next.layout()->lineAt(0).height() : 0;
      const int headingPage = static_cast<int>(rect.top() / page.height());
      const int textPage = static_cast<int>((following.top() + firstLine) / page.height());
      if (textPage > headingPage) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
        document.pageCount();
      }
    }
    const QRectF placed = layout->blockBoundingRect(block);
    const int onPage = static_cast<int>(placed.top() / page.height());
    headings.append({block.text(), level, onPage, placed.top() - onPage * page.height()});
  }
  return headings;
}

// The text of a PDF string: UTF-16BE with its byte order mark, in hex.
QByteArray PdfText(const QString& text) {
  QByteArray hex = "<FEFF";
  for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
  return hex + '>';
}

// Adds the outline (bookmarks) of `headings` to the PDF QPdfWriter wrote, as
// an incremental update: new outline items, the catalog again with the
// outline in it, and their cross-reference section. `top` and `scale` turn a
// heading's place on its page into PDF points from the page's bottom edge.
bool AddOutline(const QString& path, const QList<Heading>& headings, qreal pageHeight, qreal top,
                qreal scale) {
  QFile file(path);
  if (headings.isEmpty() || !file.open(QIODevice::ReadWrite)) return false;
  const QByteArray pdf = file.readAll();
  const QRegularExpression kids(QStringLiteral("/Type /Pages\\s*/Kids\\s*\\[([^\\]]*)\\]"));
  const QRegularExpression root(QStringLiteral("trailer\\s*<<[^>]*/Root (\\d+) 0 R"));
  const QRegularExpression info(QStringLiteral("trailer\\s*<<[^>]*/Info (\\d+) 0 R"));
  const QRegularExpression size(QStringLiteral("trailer\\s*<<[^>]*/Size (\\d+)"));
  const QRegularExpression start(QStringLiteral("startxref\\s*(\\d+)"));
  const QString text = QString::fromLatin1(pdf);
  const auto kidsMatch = kids.match(text);
  const auto rootMatch = root.match(text);
  const auto sizeMatch = size.match(text);
  const auto startMatch = start.match(text);
  if (!kidsMatch.hasMatch() || !rootMatch.hasMatch() || !sizeMatch.hasMatch() ||
      !startMatch.hasMatch()) {
    return false;
  }
  QStringList pages;
  for (const auto& m : QRegularExpression(QStringLiteral("(\\d+) 0 R")).globalMatch(kidsMatch.captured(1))) {
    pages << m.captured(1);
  }
  const QString catalogId = rootMatch.captured(1);
  const QRegularExpression catalog(QStringLiteral("\\n%1 0 obj\\s*<<(.*?)>>\\s*endobj").arg(catalogId),
                                   QRegularExpression::DotMatchesEverythingOption);
  const auto catalogMatch = catalog.match(text);
  if (!catalogMatch.hasMatch()) return false;

  // The tree: each heading's parent is the nearest heading above it of a
  // smaller level.
  const int first = sizeMatch.captured(1).toInt();
  const int outlines = first;
  const qsizetype n = headings.size();
  QList<int> parent(n, -1), firstChild(n, -1), lastChild(n, -1), prev(n, -1), next(n, -1),
      count(n, 0);
  int rootFirst = -1, rootLast = -1;
  for (qsizetype i = 0; i < n; ++i) {
    for (qsizetype j = i - 1; j >= 0; --j) {
      if (headings[j].level < headings[i].level) {
        parent[i] = static_cast<int>(j);
        break;
      }
    }
    int& last = parent[i] < 0 ? rootLast : lastChild[parent[i]];
    if (last >= 0) {
      next[last] = static_cast<int>(i);
      prev[i] = last;
    } else if (parent[i] < 0) {
      rootFirst = static_cast<int>(i);
    } else {
      firstChild[parent[i]] = static_cast<int>(i);
    }
    last = static_cast<int>(i);
    for (int p = parent[i]; p >= 0; p = parent[p]) ++count[p];
  }
  auto id = [&](int i) { return QByteArray::number(first + 1 + i); };

  QByteArray update = "\n";
  QList<QPair<int, qint64>> offsets;
  auto object = [&](int number, const QByteArray& body) {
    offsets.append({number, pdf.size() + update.size()});
    update += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
  };
  object(outlines, "<<\n/Type /Outlines\n/First " + id(rootFirst) + " 0 R\n/Last " + id(rootLast) +
                       " 0 R\n/Count " + QByteArray::number(n) + "\n>>");
  for (qsizetype i = 0; i < n; ++i) {
    const Heading& h = headings[i];
    const int page = std::clamp(h.page, 0, static_cast<int>(pages.size()) - 1);
    const qreal y = pageHeight - top - h.top * scale;
    QByteArray body = "<<\n/Title " + PdfText(h.title) + "\n/Parent " +
                      (parent[i] < 0 ? QByteArray::number(outlines) : id(parent[i])) + " 0 R\n";
    if (prev[i] >= 0) body += "/Prev " + id(prev[i]) + " 0 R\n";
    if (next[i] >= 0) body += "/Next " + id(next[i]) + " 0 R\n";
    if (firstChild[i] >= 0) {
      body += "/First " + id(firstChild[i]) + " 0 R\n/Last " + id(lastChild[i]) + " 0 R\n/Count " +
              QByteArray::number(h.level == 1 ? count[i] : -count[i]) + "\n";
    }
    body += "/Dest [" + pages[page].toLatin1() + " 0 R /XYZ 0 " + QByteArray::number(y, 'f', 1) +
            " 0]\n>>";
    object(first + 1 + static_cast<int>(i), body);
  }
  object(catalogId.toInt(), "<<" + catalogMatch.captured(1).toLatin1() + "/Outlines " +
                                QByteArray::number(outlines) + " 0 R\n/PageMode /UseOutlines\n>>");

  std::sort(offsets.begin(), offsets.end());
  const qint64 xref = pdf.size() + update.size();
  update += "xref\n";
  for (qsizetype i = 0; i < offsets.size();) {
    qsizetype j = i;
    while (j + 1 < offsets.size() && offsets[j + 1].first == offsets[j].first + 1) ++j;
    update += QByteArray::number(offsets[i].first) + ' ' + QByteArray::number(j - i + 1) + '\n';
    for (; i <= j; ++i) {
      update += QByteArray::number(offsets[i].second).rightJustified(10, '0') + " 00000 n \n";
    }
  }
  const auto infoMatch = info.match(text);
  update += "trailer\n<<\n/Size " + QByteArray::number(first + 1 + n) + "\n/Root " +
            catalogId.toLatin1() + " 0 R\n" +
            (infoMatch.hasMatch() ? "/Info " + infoMatch.captured(1).toLatin1() + " 0 R\n" : "") +
            "/Prev " + startMatch.captured(1).toLatin1() + "\n>>\nstartxref\n" +
            QByteArray::number(xref) + "\n%%EOF\n";
  return file.seek(pdf.size()) && file.write(update) == update.size() && file.flush();
}

int MakePdf(const QString& manualPath, const QString& outPath, const QStringList& fonts) {
  QFile manual(manualPath);
  if (!manual.open(QIODevice::ReadOnly)) return Fail("cannot read " + manualPath);
  const QString markdown = QString::fromUtf8(manual.readAll());

  QStringList families;
  for (const QString& font : fonts) {
    const int id = QFontDatabase::addApplicationFont(font);
    if (id < 0) return Fail("cannot load font " + font);
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
  QTextOption wrap = document.defaultTextOption();
  wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document.setDefaultTextOption(wrap);
  UnescapePipes(document);
  FitPreformatted(document, 8);
  // The document is laid out in pixels at 96 per inch, one page the size of
  // the PDF's text area, with room at the foot for the page number.
  const QRectF column = pdf.pageLayout().paintRect(QPageLayout::Inch);
  const QStringList missing = EmbedImages(document, column.width() * 96.0 - 8.0);
  if (!missing.isEmpty()) return Fail(manualPath + " refers to pictures that cannot be read: " +
                                      missing.join(QStringLiteral(", ")));
  const QSizeF page(column.width() * 96.0, column.height() * 96.0 - 24.0);
  const QList<Heading> headings = Paginate(document, page);

  {
    QPainter painter(&pdf);
    const qreal scale = pdf.resolution() / 96.0;
    painter.scale(scale, scale);
    QFont numberFont = base;
    numberFont.setPixelSize(11);  // 8 points at 96 pixels per inch
    for (int i = 0; i < document.pageCount(); ++i) {
      if (i > 0) pdf.newPage();
      painter.save();
      painter.translate(0, -i * page.height());
      document.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
      painter.restore();
      painter.setFont(numberFont);
      painter.drawText(QRectF(0, page.height(), page.width(), 24.0),
                       Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
    }
  }
  if (!QFileInfo(outPath).exists()) return Fail("cannot write " + outPath);
  // PDF points: 72 per inch, from the bottom edge of the page.
  const QPageLayout pageLayout = pdf.pageLayout();
  if (!AddOutline(outPath, headings, pageLayout.fullRect(QPageLayout::Point).height(),
                  pageLayout.paintRect(QPageLayout::Point).top(), 72.0 / 96.0)) {
    return Fail("cannot add the outline to " + outPath);
  }
  return 0;
}

int MakeIcon(const QString& outPath, int size) {
  if (size < 16 || size > 1024) return Fail("icon size must lie in 16..1024");
  if (!tessel::RenderTesselIcon(size).save(outPath, "PNG")) return Fail("cannot write " + outPath);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 4 && args.at(1) == QLatin1String("pdf"))
    return MakePdf(args.at(2), args.at(3), args.mid(4));
  if (args.size() == 4 && args.at(1) == QLatin1String("icon"))
    return MakeIcon(args.at(2), args.at(3).toInt());
  return Fail("usage: tessel-docgen pdf MANUAL.md OUT.pdf [FONT.ttf ...] | icon OUT.png SIZE");
}
