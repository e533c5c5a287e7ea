#pragma once
// What the listing tests share: a read section written out in one line, and
// the example listings.

#include <QFile>
#include <QString>
#include <QStringList>

#include "listed_section.h"
#include "schedule_model.h"
#include "week.h"

namespace quorvandel::testing {

// "Chem/01 9:00-10:00 M W F (9:05-9:55 to 9:00-10:00)", meetings joined by
// " + ", or "Chem/01 refused: no days".
inline QString describe(const ListedSection& section) {
    QString text = QString::fromStdU16String(section.course) + u'/' + QString::fromStdU16String(section.number);
    if (section.refusal != ListingRefusal::None)
        return text + QStringLiteral(" refused: ") + QString::fromStdU16String(refusalText(section.refusal));
    QStringList meetings;
    for (const ListedMeeting& m : section.meetings) {
        QString meeting = QStringLiteral("%1:%2-%3:%4")
                              .arg(8 + m.startSlot / 2)
                              .arg(m.startSlot % 2 ? QStringLiteral("30") : QStringLiteral("00"))
                              .arg(8 + m.endSlot / 2)
                              .arg(m.endSlot % 2 ? QStringLiteral("30") : QStringLiteral("00"));
        static const char* const days[] = {"M", "T", "W", "Th", "F", "S", "Su"};
        for (int d = 0; d < 7; ++d)
            if (m.days[static_cast<std::size_t>(d)]) meeting += u' ' + QLatin1String(days[d]);
        if (!m.roundingNote.empty()) meeting += QStringLiteral(" (%1)").arg(QString::fromStdU16String(m.roundingNote));
        meetings << meeting;
    }
    return text + u' ' + meetings.join(QStringLiteral(" + "));
}

inline QString describe(const Listing& listing) {
    QStringList lines;
    for (const ListedSection& s : listing.sections) lines << describe(s);
    return lines.join(QStringLiteral(" | "));
}

inline std::u16string exampleListing(const QString& name) {
    QFile file(QStringLiteral(QUORVANDEL_LISTINGS_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).toStdU16String();
}

}  // namespace quorvandel::testing
