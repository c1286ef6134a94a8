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

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

const QString kBodyFamily = QStringLiteral("Liberation Sans");
const QString kCodeFamily = QStringLiteral("DejaVu Sans Mono");
constexpr double kBodyPoints = 10.5;
constexpr double kCodePoints = 9.0;
// Text width of an A4 page with the 2 cm margins QTextDocument::print keeps,
// in the layout's 96-per-inch units: (210 - 40) mm / 25.4 × 96 ≈ 642.
constexpr double kTextWidth = 636.0;
const QColor kHeadingColour(0x1f, 0x3a, 0x68);

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
            problems << QStringLiteral("font \"%1\" is not installed (scripts/setup.sh installs it)")
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
    charFormat.setProperty(QTextFormat::FontSizeAdjustment, 0);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(charFormat);
}

// Code spans and blocks in the code font, pictures at most the text width.
QStringList styleFragment(QTextDocument& doc, const QTextFragment& fragment) {
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
    } else if (format.fontFixedPitch()) {
        QTextCharFormat code;
        code.setFontFamilies({kCodeFamily});
        code.setFontPointSize(kCodePoints);
        cursor.mergeCharFormat(code);
    }
    return {};
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
        for (const QTextFragment& fragment : fragments) {
            problems << styleFragment(doc, fragment);
        }
    }
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

QStringList writePdf(const QTextDocument& doc, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Quillmark"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        doc.print(&writer);
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
    doc.setMarkdown(*markdown);
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
