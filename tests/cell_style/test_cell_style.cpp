// How a grid cell looks: the course colours read well and differ clearly,
// and a caption too wide for its cell keeps " - " and the section number.
// The contrast and colour differences are worked out here from their
// published formulas, not by the code under test.
#include <QFontMetrics>
#include <QtTest>
#include <cmath>

#include "cell_caption.h"
#include "course_palette.h"
#include "form_metrics.h"

using namespace quorvandel;

namespace {

// WCAG 2.0 relative luminance, from the 8-bit channels.
double luminance(const QColor& c) {
    const auto channel = [](int value) {
        const double s = value / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// CIE76: the distance in CIELAB (D65). A difference of about 2.3 is just
// noticeable side by side; 15 and more reads as another colour at a glance
// even between small cells apart on the grid.
double cie76(const QColor& a, const QColor& b) {
    const auto lab = [](const QColor& c) {
        const auto lin = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        const double r = lin(c.red()), g = lin(c.green()), bl = lin(c.blue());
        const double x = (0.4124 * r + 0.3576 * g + 0.1805 * bl) / 0.95047;
        const double y = 0.2126 * r + 0.7152 * g + 0.0722 * bl;
        const double z = (0.0193 * r + 0.1192 * g + 0.9505 * bl) / 1.08883;
        const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
        return std::array<double, 3>{116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
    };
    const auto p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

const QString Ellipsis = QStringLiteral("\u2026");

char32_t codePointAt(const QString& s, qsizetype i) {
    if (s[i].isHighSurrogate() && i + 1 < s.size()) return QChar::surrogateToUcs4(s[i], s[i + 1]);
    return s[i].unicode();
}
bool isRegionalIndicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

// Whether a cut at position i would split a grapheme of the kinds the
// table below holds: a surrogate pair, a base and its marks or selectors,
// a joined emoji sequence, a flag's two letters.
bool splitsGrapheme(const QString& s, qsizetype i) {
    if (i <= 0 || i >= s.size()) return false;
    if (s[i].isLowSurrogate()) return true;
    const char32_t next = codePointAt(s, i);
    if (QChar::isMark(next) || next == 0x200D || s[i - 1].unicode() == 0x200D) return true;
    qsizetype indicatorsBefore = 0;
    for (qsizetype j = i - 2; j >= 0 && isRegionalIndicator(codePointAt(s, j)); j -= 2) ++indicatorsBefore;
    return isRegionalIndicator(next) && indicatorsBefore % 2 == 1;
}

}  // namespace

class CellStyleTest : public QObject {
    Q_OBJECT
private slots:
    void paletteReads() {
        for (int i = 0; i < CoursePaletteSize; ++i) {
            const CourseColours colours = courseColours(i);
            const QColor black(Qt::black), white(Qt::white);
            QVERIFY2(contrast(colours.caption, colours.fill) >= 4.5, qPrintable(colours.fill.name()));
            // Dark captions on light fills; the black grid lines show too.
            QCOMPARE(colours.caption, black);
            QVERIFY2(contrast(black, colours.fill) >= 3.0, qPrintable(colours.fill.name()));
            // An occupied cell stands out from the empty white or grey grid.
            QVERIFY2(cie76(colours.fill, white) >= 20 && cie76(colours.fill, QColor(0xef, 0xef, 0xef)) >= 20,
                     qPrintable(colours.fill.name()));
            QCOMPARE(colours.fill.alpha(), 255);
        }
    }

    void paletteDiffers() {
        for (int i = 0; i < CoursePaletteSize; ++i) {
            for (int j = i + 1; j < CoursePaletteSize; ++j) {
                const double difference = cie76(courseColours(i).fill, courseColours(j).fill);
                // Any two clearly; neighbours in the course list and the
                // first five, which most schedules use, more so.
                const double least = (j == i + 1 || j < 5) ? 30 : 15;
                QVERIFY2(difference >= least,
                         qPrintable(QStringLiteral("%1 and %2: %3").arg(i).arg(j).arg(difference)));
            }
        }
    }

    // Names that share a start or an end keep what tells them apart, in
    // the designed cell, and in a cell grown tall enough for two lines,
    // where a caption wraps before it is shortened.
    void middleElision_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* what, const char* name, const char* number, int lines, const char* caption) {
            QTest::newRow(what) << QString::fromUtf8(name) << QString::fromUtf8(number) << lines
                                << QString::fromUtf8(caption);
        };
        row("a lab", "CHEM 101 Lab", "L01", 1, "CHEM…Lab - L01");
        row("another lab", "PHYS 121 Lab", "L01", 1, "PHYS…Lab - L01");
        row("a shared prefix", "COURSE NUMBER 17", "02", 1, "COUR…R 17 - 02");
        row("fits whole", "Art", "7", 1, "Art - 7");
        // Two lines: broken where the lines come out most even.
        row("a lab on two lines", "CHEM 101 Lab", "L01", 2, "CHEM 101\nLab - L01");
        row("a shared prefix on two lines", "COURSE NUMBER 17", "02", 2, "COURSE\nNUMBER 17 - 02");
        row("fits whole on one of two", "Art", "7", 2, "Art - 7");
        row("one long word", "Thermodynamics", "B", 2, "Thermodynamics\n- B");
        row("a word longer than a line", "Electroencephalography", "E1", 2, "Electroencephalo\ngraphy - E1");
        // Too long for two lines: its start on the first, its end and the
        // number on the second.
        row("too long for two lines", "Introduction to Comparative Literature", "101", 2,
            "Introduction to\n…Literature - 101");
        row("marks kept with their letters", "Cafe\u0301 e\u0301tudie\u0301e\u0301s a\u0300 l'e\u0301cole", "F1", 2,
            "Cafe\u0301 e\u0301tudie\u0301e\u0301s\na\u0300 l'e\u0301cole - F1");
        // Not even "… - number" fits a line: the one-line caption.
        row("a number too long for two lines", "Organic Chemistry II", "Lecture Hall Section 0017", 2,
            "…ll Section 0017");
    }
    void middleElision() {
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(int, lines);
        QFETCH(QString, caption);
        QCOMPARE(fittedCellCaption(name, number, QFontMetrics(formFont()), px(1455), lines), caption);
        if (lines == 1) QCOMPARE(fittedCellCaption(name, number, QFontMetrics(formFont()), px(1455)), caption);
    }

    void fittedCaption_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("width");
        struct Case {
            const char* row;
            QString name, number;
        };
        const Case cases[] = {
            {"short", QStringLiteral("Chem"), QStringLiteral("02")},
            {"long", QStringLiteral("Organic Chemistry II"), QStringLiteral("H1")},
            {"blanks before the cut", QStringLiteral("Organic          Chemistry"), QStringLiteral("7")},
            {"long number", QStringLiteral("Organic Chemistry II"), QStringLiteral("Lecture Hall Section 0017")},
            {"joined emoji",
             QString::fromUtf8(
                 "👨‍👩‍👧 Family 👨‍👩‍👧👨‍👩‍👧👨‍👩‍👧 Studies"),
             QStringLiteral("03")},
            {"flags", QString::fromUtf8("🇩🇪🇫🇷🇯🇵🇧🇷🇨🇦🇮🇳 Languages"), QStringLiteral("L2")},
            {"combining marks", QString::fromUtf8("Cafe\u0301 e\u0301tudie\u0301e\u0301s a\u0300 l'e\u0301cole"),
             QStringLiteral("F1")},
            {"outside the BMP", QString::fromUtf8("𝔐𝔞𝔱𝔥𝔢𝔪𝔞𝔱𝔦𝔠𝔞𝔩 𝔄𝔫𝔞𝔩𝔶𝔰𝔦𝔰"), QString::fromUtf8("𝟙𝟚")},
            {"Hebrew", QString::fromUtf8("מבוא למדעי המחשב ותכנות"), QStringLiteral("12")},
            {"Arabic", QString::fromUtf8("مقدمة في علوم الحاسوب"), QString::fromUtf8("٣")},
            {"10,000 characters", QString(10000, QLatin1Char('W')), QStringLiteral("9")},
            {"10,000 marked letters", QString::fromUtf8("e\u0301").repeated(5000), QStringLiteral("1")},
            {"emoji number", QStringLiteral("History"), QString::fromUtf8("👩‍🔬").repeated(12)},
        };
        const int widths[] = {px(1455), 48, 20, 4};  // the designed cell, then ever narrower
        for (const Case& c : cases) {
            for (int width : widths) QTest::addRow("%s, %d px", c.row, width) << c.name << c.number << width;
        }
    }
    void fittedCaption() {
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(int, width);
        const QFontMetrics metrics(formFont());
        const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
        const QString tail = QStringLiteral(" - ") + number;
        const QString caption = fittedCellCaption(name, number, metrics, width);

        if (fits(name + tail)) {
            QCOMPARE(caption, name + tail);
        } else if (fits(Ellipsis + tail)) {
            // Shortened in the middle: a start and an end of the name, each
            // whole graphemes, that do not overlap.
            QVERIFY2(fits(caption), qPrintable(caption));
            QVERIFY2(caption.endsWith(tail), qPrintable(caption));
            const QString kept = caption.chopped(tail.size());
            const qsizetype cut = kept.indexOf(Ellipsis);
            QVERIFY2(cut >= 0, qPrintable(caption));
            const QString start = kept.left(cut), end = kept.mid(cut + Ellipsis.size());
            QVERIFY(name.startsWith(start) && name.endsWith(end));
            QVERIFY(start.size() + end.size() < name.size());
            QVERIFY(!splitsGrapheme(name, start.size()) && !splitsGrapheme(name, name.size() - end.size()));
            // Not cut shorter than it must: the next grapheme of the start
            // and the one before the end (past any blanks) would not both
            // have fitted.
            qsizetype next = start.size(), previous = name.size() - end.size();
            while (next < name.size() && name[next].isSpace()) ++next;
            do ++next;
            while (splitsGrapheme(name, next));
            while (previous > 0 && name[previous - 1].isSpace()) --previous;
            do --previous;
            while (splitsGrapheme(name, previous));
            if (next <= previous)
                QVERIFY2(!fits(name.left(next) + Ellipsis + name.mid(previous) + tail), qPrintable(caption));
        } else if (fits(number)) {
            QCOMPARE(caption, number);
        } else {
            QVERIFY2(caption.startsWith(Ellipsis), qPrintable(caption));
            const QString kept = caption.mid(Ellipsis.size());
            QVERIFY(number.endsWith(kept));
            QVERIFY(!splitsGrapheme(number, number.size() - kept.size()));
            if (fits(Ellipsis)) QVERIFY2(fits(caption), qPrintable(caption));
            // Not cut shorter than it must: one more grapheme would not fit.
            qsizetype previous = number.size() - kept.size();
            do --previous;
            while (splitsGrapheme(number, previous));
            QVERIFY2(!fits(Ellipsis + number.mid(previous)), qPrintable(caption));
        }
    }
};

QTEST_MAIN(CellStyleTest)
#include "test_cell_style.moc"
