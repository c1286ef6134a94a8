// Build step: writes the user guide PDF from its Markdown source with Qt's own
// text layout and PDF writer.
//
//   qm_manual_writer SOURCE.md OUTPUT.pdf
//
// Pictures are looked up beside the source and scaled down to the text width;
// every top-level heading after the first starts a new page. The build stops,
// naming the cause, when a picture is missing, a font is not installed, or a
// character of the text has no glyph in its font (the guide is Russian, so a
// font without Cyrillic would otherwise print empty boxes). The PDF is written
// to a temporary file and renamed into place.

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

const QString kBodyFamily = QStringLiteral("Liberation Sans");
const QString kCodeFamily = QStringLiteral("DejaVu Sans Mono");
constexpr double kBodyPoints = 10.5;
constexpr double kCodePoints = 9.0;
constexpr double kSideMarginMm = 20;
// The text width of an A4 page in the 96-per-inch units of picture sizes.
constexpr double kTextWidth = (210 - 2 * kSideMarginMm) / 25.4 * 96;
const QColor kHeadingColour(0x1f, 0x3a, 0x68);
const QColor kRuleColour(0x9a, 0xa6, 0xb8);
const QColor kHeaderColour(0xe4, 0xea, 0xf3);

std::optional<QString> readSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

// Qt would quietly substitute another font; the guide's look and its glyph check rely on these.
QStringList missingFonts() {
    QStringList problems;
    for (const QString& family : {kBodyFamily, kCodeFamily}) {
        if (QFontInfo(QFont(family)).family() != family) {
            problems << QStringLiteral(
                            "font \"%1\" is not installed (scripts/setup.sh installs it)")
                            .arg(family);
        }
    }
    return problems;
}

void styleHeading(QTextBlock block, bool firstTopHeading) {
    const int level = block.blockFormat().headingLevel();
    QTextCursor cursor(block);
    QTextBlockFormat blockFormat = block.blockFormat();
    blockFormat.setTopMargin(level == 1 ? 0 : 14);
    blockFormat.setBottomMargin(6);
    if (level == 1 && !firstTopHeading) {
        blockFormat.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    }
    cursor.setBlockFormat(blockFormat);
    QTextCharFormat charFormat;
    charFormat.setFontFamilies({kBodyFamily});
    charFormat.setFontPointSize(level == 1 ? 20 : level == 2 ? 14 : 11.5);
    charFormat.setFontWeight(QFont::Bold);
    charFormat.setForeground(kHeadingColour);
    // Replaced, not merged: the importer's relative size would win over the point size.
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.setCharFormat(charFormat);
}

// Code spans and blocks in the code font, pictures at most the text width.
QStringList styleFragment(QTextDocument& doc, const QTextFragment& fragment, bool inCodeBlock) {
    QTextCursor cursor(&doc);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        QTextImageFormat image = format.toImageFormat();
        const QImage picture =
            doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        if (picture.isNull()) {
            return {QStringLiteral("picture %1 is missing or unreadable").arg(image.name())};
        }
        const double scale = std::min(1.0, kTextWidth / picture.width());
        image.setWidth(picture.width() * scale);
        image.setHeight(picture.height() * scale);
        cursor.setCharFormat(image);
    } else if (format.fontFixedPitch() || inCodeBlock) {
        QTextCharFormat code;
        code.setFontFamilies({kCodeFamily});
        code.setFontPointSize(kCodePoints);
        cursor.mergeCharFormat(code);
    }
    return {};
}

// Tables full width with thin collapsed rules, some room in the cells and a
// tinted header row.
void styleTables(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) {
            continue;
        }
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(1);
        format.setBorderBrush(kRuleColour);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(4);
        format.setBottomMargin(8);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextTableCellFormat header = cell.format().toTableCellFormat();
            header.setBackground(kHeaderColour);
            cell.setFormat(header);
        }
    }
}

QStringList styleDocument(QTextDocument& doc) {
    QStringList problems;
    bool firstTopHeading = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            styleHeading(block, firstTopHeading);
            firstTopHeading = firstTopHeading && block.blockFormat().headingLevel() != 1;
        }
        // Collect first: restyling a fragment may split or merge the ones after it.
        QList<QTextFragment> fragments;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            fragments.append(it.fragment());
        }
        const bool codeBlock = block.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
        if (codeBlock) {
            QTextBlockFormat shaded = block.blockFormat();
            shaded.setBackground(kHeaderColour);
            shaded.setLeftMargin(8);
            QTextCursor(block).setBlockFormat(shaded);
        }
        for (const QTextFragment& fragment : fragments) {
            problems << styleFragment(doc, fragment, codeBlock);
        }
    }
    styleTables(doc);
    return problems;
}

QStringList missingGlyphs(const QTextDocument& doc) {
    QStringList problems;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QFontMetrics metrics(fragment.charFormat().font());
            for (const char32_t c : fragment.text().toUcs4()) {
                if (c > U' ' && c != QChar::ObjectReplacementCharacter && !metrics.inFontUcs4(c)) {
                    problems << QStringLiteral("no glyph for U+%1 in \"%2\"")
                                    .arg(quint32(c), 4, 16, QLatin1Char('0'))
                                    .arg(fragment.charFormat().font().family());
                }
            }
        }
    }
    problems.removeDuplicates();
    return problems;
}

bool isPictureLine(const QTextBlock& block) {
    const auto first = block.begin();
    return !first.atEnd() && first.fragment().charFormat().isImageFormat() &&
           block.text().trimmed().size() == 1;
}

bool isCaption(const QTextBlock& block) {
    const auto first = block.begin();
    return !first.atEnd() && first.fragment().charFormat().fontItalic();
}

// A heading stays with the text after it, a picture with its caption.
bool keptWithNext(const QTextBlock& block) {
    return block.blockFormat().headingLevel() > 0 ||
           (isPictureLine(block) && isCaption(block.next()));
}

int pageOf(double y, double pageHeight) {
    return static_cast<int>(y / pageHeight);
}

// Where the first line of a block ends, in document coordinates.
double firstLineBottom(const QTextDocument& doc, const QTextBlock& block) {
    const QTextLine line = block.layout()->lineAt(0);
    const double top = doc.documentLayout()->blockBoundingRect(block).top();
    return line.isValid() ? top + line.y() + line.height() : top;
}

// A block that must stay with the next one, but ends a page while the next
// begins the following page, moves to that page too. Each move changes the
// layout after it, so the walk starts again until nothing moves.
void keepBlocksTogether(QTextDocument& doc) {
    const double pageHeight = doc.pageSize().height();
    for (bool moved = true; moved;) {
        moved = false;
        for (QTextBlock block = doc.begin(); block.next().isValid(); block = block.next()) {
            if (!keptWithNext(block) || block.blockFormat().pageBreakPolicy() != 0) {
                continue;
            }
            const double top = doc.documentLayout()->blockBoundingRect(block).top();
            if (pageOf(firstLineBottom(doc, block.next()), pageHeight) > pageOf(top, pageHeight)) {
                QTextBlockFormat format = block.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).setBlockFormat(format);
                // The layout after a change is finished lazily; lay out everything again
                // so that the next measurements and the page count see the move.
                doc.markContentsDirty(0, doc.characterCount());
                moved = true;
                break;
            }
        }
    }
}

// Lays the document out on A4 pages of the writer and draws them one by one,
// with the guide's title and the page number under the text.
void printPages(QTextDocument& doc, QPdfWriter& writer) {
    QPainter painter(&writer);
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDocumentMargin(0);
    // Every page keeps its last millimetre empty and is drawn without it: a picture
    // that opens the next page would otherwise show its first row here.
    const double gap = writer.resolution() / 25.4;
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setBottomMargin(gap);
    doc.rootFrame()->setFrameFormat(root);
    const double width = writer.width();
    const double footer = writer.resolution() * 0.35; // a bit over a quarter inch
    const double height = writer.height() - footer;
    doc.setPageSize(QSizeF(width, height));
    keepBlocksTogether(doc);

    QFont footerFont(kBodyFamily);
    footerFont.setPointSizeF(8);
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    for (int page = 0; page < doc.pageCount(); ++page) {
        if (page > 0) {
            writer.newPage();
        }
        const QRectF visible(0, page * height, width, height);
        painter.save();
        painter.translate(0, -visible.top());
        painter.setClipRect(visible.adjusted(0, 0, 0, -gap));
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(kHeadingColour);
        const QRectF line(0, height, width, footer);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignBottom, title);
        painter.drawText(line, Qt::AlignRight | Qt::AlignBottom, QString::number(page + 1));
    }
}

QStringList writePdf(QTextDocument& doc, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Quillmark"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kSideMarginMm, 18, kSideMarginMm, 15),
                                         QPageLayout::Millimeter));
        printPages(doc, writer);
    }
    if (!file.commit()) {
        return {QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
    return {};
}

} // namespace

int main(int argc, char* argv[]) {
    const QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: qm_manual_writer SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    const QString source = args.at(1);
    const std::optional<QString> markdown = readSource(source);
    if (!markdown) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(source));
        return 3;
    }

    QTextDocument doc;
    QFont body(kBodyFamily);
    body.setPointSizeF(kBodyPoints);
    doc.setDefaultFont(body);
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
    // No raw HTML: a word in angle brackets such as <TITLE> stays text.
    doc.setMarkdown(*markdown,
                    QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                    QTextDocument::MarkdownNoHTML));
    doc.setMetaInformation(QTextDocument::DocumentTitle, doc.begin().text());
    QStringList problems = missingFonts();
    problems << styleDocument(doc);
    problems << missingGlyphs(doc);
    if (problems.isEmpty()) {
        problems << writePdf(doc, args.at(2));
    }
    for (const QString& problem : problems) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(source), qPrintable(problem));
    }
    return problems.isEmpty() ? 0 : 1;
}
