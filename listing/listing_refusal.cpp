#include "listing_refusal.h"

#include "week.h"

namespace quorvandel {

Text refusalText(ListingRefusal refusal) {
    switch (refusal) {
    case ListingRefusal::None:
        return {};
    case ListingRefusal::NoCourse:
        return u"no course name";
    case ListingRefusal::NoNumber:
        return u"no section number";
    case ListingRefusal::NoDays:
        return u"no days";
    case ListingRefusal::NoTime:
        return u"no time";
    case ListingRefusal::EndNotAfterStart:
        return u"end not after start";
    case ListingRefusal::BeforeDayStart:
        return u"a time before " + timeText(0);
    case ListingRefusal::AfterDayEnd:
        return u"a time after " + timeText(EndOfDaySlot);
    case ListingRefusal::MeetingsOverlap:
        return u"meetings share a half-hour";
    case ListingRefusal::TooManyMeetings:
        return u"meets at more than " + numberText(MaxMeetingsPerSection) + u" times";
    case ListingRefusal::CourseFull:
        return u"the course already holds " + numberText(MaxSectionsPerCourse) + u" sections";
    case ListingRefusal::TooManyCourses:
        return numberText(MaxCourses) + u" courses already";
    }
    return {};
}

}  // namespace quorvandel
