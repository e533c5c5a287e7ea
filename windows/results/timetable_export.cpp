#include "timetable_export.h"

#include "section_caption.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <chrono>

#include "results_dialogs.h"
#include "results_position.h"
#include "timetable_page.h"

namespace quorvandel {

namespace {

constexpr int PngScale = 2;
constexpr qreal PageMarginMillimetres = 12;

QString couldNotSave(const QString& path, const QString& reason) {
    return QStringLiteral("The timetable could not be saved to %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

// Opens `file` for writing; on failure the sentence to tell the user.
QString openForWriting(QSaveFile& file) {
    return file.open(QIODevice::WriteOnly) ? QString() : couldNotSave(file.fileName(), file.errorString());
}

QString commit(QSaveFile& file) {
    return file.commit() ? QString() : couldNotSave(file.fileName(), file.errorString());
}

}  // namespace

bool paintOnPage(const TimetablePage& page, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    page.paint(painter, QRect(QPoint(0, 0), printable.size()));
    return painter.end();
}

QString timetableName(const ModuleState& state) {
    return QStringLiteral("Timetable %1 of %2").arg(state.CurrentTimetable + 1).arg(state.NumTimetables);
}

QString writePdf(const TimetablePage& page, const QString& path, const QString& documentTitle) {
    QSaveFile file(path);
    if (QString failed = openForWriting(file); !failed.isEmpty()) return failed;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Quorvandel"));
        writer.setTitle(documentTitle);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(PageMarginMillimetres, PageMarginMillimetres, PageMarginMillimetres, PageMarginMillimetres),
            QPageLayout::Millimeter));
        if (!paintOnPage(page, writer)) {
            file.cancelWriting();
            return couldNotSave(path, QStringLiteral("the page could not be drawn."));
        }
    }
    return commit(file);
}

QString writePng(const TimetablePage& page, const QString& path) {
    const QSize size = page.naturalSize();
    QImage image(size * PngScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(PngScale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        page.paint(painter, QRect(QPoint(0, 0), size));
    }
    QSaveFile file(path);
    if (QString failed = openForWriting(file); !failed.isEmpty()) return failed;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return couldNotSave(path, writer.errorString());
    }
    return commit(file);
}

QString writeCalendar(const Timetable& timetable, const Term& term, const QString& path) {
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const CalendarText calendar = timetableCalendar(namingSameTimes(timetable), term, now);
    if (calendar.error != CalendarError::None) return QString::fromStdString(calendarErrorMessage(calendar.error));
    QSaveFile file(path);
    if (QString failed = openForWriting(file); !failed.isEmpty()) return failed;
    if (file.write(calendar.text.data(), static_cast<qint64>(calendar.text.size())) !=
        static_cast<qint64>(calendar.text.size())) {
        file.cancelWriting();
        return couldNotSave(path, file.errorString());
    }
    return commit(file);
}

void printShownTimetable(const ModuleState& state, const QString& title, ResultsDialogs& dialogs, QWidget* parent) {
    if (timetableAtPosition(state) == nullptr) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(timetableName(state));
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!dialogs.askPrint(printer, parent)) return;
    if (!paintOnPage(TimetablePage(state, title), printer))
        dialogs.showMessage(parent, QStringLiteral("The timetable could not be printed."));
}

void exportShownTimetable(const ModuleState& state, const QString& title, ResultsDialogs& dialogs, QWidget* parent) {
    const Timetable* timetable = timetableAtPosition(state);
    if (timetable == nullptr) return;
    const ExportTarget target = dialogs.askExportTarget(parent, timetableName(state));
    if (target.path.isEmpty()) return;
    QString failed;
    switch (target.kind) {
    case ExportKind::Pdf:
        failed = writePdf(TimetablePage(state, title), target.path, timetableName(state));
        break;
    case ExportKind::Png:
        failed = writePng(TimetablePage(state, title), target.path);
        break;
    case ExportKind::Calendar: {
        const std::optional<Term> term = dialogs.askTerm(parent);
        if (!term) return;
        failed = writeCalendar(*timetable, *term, target.path);
        break;
    }
    }
    if (!failed.isEmpty()) dialogs.showMessage(parent, failed);
}

}  // namespace quorvandel
