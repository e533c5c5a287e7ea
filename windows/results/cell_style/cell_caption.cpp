#include "cell_caption.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "section_caption.h"

namespace quorvandel {

namespace {

const QString Ellipsis = QStringLiteral("\u2026");

// Where each grapheme of the text starts, then the text's length: entry k
// is the length of the first k graphemes.
QList<qsizetype> graphemeBoundaries(const QString& text) {
    QList<qsizetype> boundaries{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) boundaries.append(at);
    return boundaries;
}

// The largest k in low .. high - 1 for which fits(k) holds, given that it
// holds for low and not for high; a wider text never measures narrower, so
// a binary search finds it.
template <typename Fits>
qsizetype largestFitting(qsizetype low, qsizetype high, Fits&& fits) {
    while (high - low > 1) {
        const qsizetype middle = low + (high - low) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

QString withoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}

QString withoutLeadingBlanks(QString text) {
    qsizetype blanks = 0;
    while (blanks < text.size() && text[blanks].isSpace()) ++blanks;
    return text.mid(blanks);
}

}  // namespace

QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width) {
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    const QString tail = QString::fromStdU16String(Text(CaptionSeparator)) + secNum;
    const QString whole = courseName + tail;
    if (fits(whole)) return whole;

    if (fits(Ellipsis + tail)) {
        // k graphemes of the name kept, the first (k + 1) / 2 and the last
        // k / 2; all of them with "…" is wider than the whole caption, which
        // did not fit.
        const QList<qsizetype> bounds = graphemeBoundaries(courseName);
        const qsizetype count = bounds.size() - 1;
        const auto shortened = [&](qsizetype k) {
            const QString start = courseName.left(bounds[(k + 1) / 2]);
            const QString end = courseName.mid(bounds[count - k / 2]);
            return withoutTrailingBlanks(start) + Ellipsis + withoutLeadingBlanks(end) + tail;
        };
        return shortened(largestFitting(0, count, [&](qsizetype k) { return fits(shortened(k)); }));
    }

    if (fits(secNum)) return secNum;
    // The last k graphemes of the number; all of them did not fit.
    const QList<qsizetype> starts = graphemeBoundaries(secNum);
    const qsizetype count = starts.size() - 1;
    const auto numberEnd = [&](qsizetype k) { return Ellipsis + secNum.mid(starts[count - k]); };
    return numberEnd(largestFitting(0, count, [&](qsizetype k) { return fits(numberEnd(k)); }));
}

QString fittedCellCaption(const QString& courseName, const QString& secNum, const QFontMetrics& metrics, int width,
                          int lines) {
    const QString oneLine = fittedCellCaption(courseName, secNum, metrics, width);
    const QString tail = QString::fromStdU16String(Text(CaptionSeparator)) + secNum;
    if (lines < 2 || oneLine == courseName + tail) return oneLine;
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    const auto twoLines = [](const QString& first, const QString& second) {
        return first + QLatin1Char('\n') + second;
    };

    // Word breaks, between graphemes: at each blank of the name, and before
    // " - ". The first line only grows with a later break, so the search
    // stops at the first break whose first line does not fit.
    const QString whole = courseName + tail;
    const QList<qsizetype> bounds = graphemeBoundaries(courseName);
    const qsizetype count = bounds.size() - 1;
    qsizetype lastFitting = 0;  // graphemes before the last break whose first line fits
    int bestWidest = width + 1;
    QString best;
    for (qsizetype k = 1; k <= count; ++k) {
        const qsizetype at = bounds[k];
        if (at < courseName.size() && !courseName[at].isSpace()) continue;
        const QString first = withoutTrailingBlanks(courseName.left(at));
        if (first.isEmpty()) continue;
        if (!fits(first)) break;
        lastFitting = k;
        const QString second = withoutLeadingBlanks(whole.mid(at));
        const int widest = std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (widest < bestWidest) {
            bestWidest = widest;
            best = twoLines(first, second);
        }
    }
    if (!best.isEmpty()) return best;

    // No word break fits both lines: the first line ends at the last blank
    // that fits, or else after as many graphemes as fit.
    const qsizetype startKept =
        lastFitting > 0 ? lastFitting
                        : largestFitting(0, count, [&](qsizetype k) { return fits(courseName.left(bounds[k])); });
    if (startKept == 0 || !fits(Ellipsis + tail)) return oneLine;
    const QString first = withoutTrailingBlanks(courseName.left(bounds[startKept]));
    const QString rest = withoutLeadingBlanks(courseName.mid(bounds[startKept]));
    if (lastFitting == 0 && fits(rest + tail)) return twoLines(first, rest + tail);

    // Shortened in the middle: the last k graphemes of what the first line
    // left; all of them did not fit.
    const qsizetype restCount = count - startKept;
    const auto end = [&](qsizetype k) {
        return Ellipsis + withoutLeadingBlanks(courseName.mid(bounds[count - k])) + tail;
    };
    return twoLines(first, end(largestFitting(0, restCount, [&](qsizetype k) { return fits(end(k)); })));
}

}  // namespace quorvandel
