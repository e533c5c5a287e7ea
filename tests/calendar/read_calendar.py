#!/usr/bin/env python3
"""Reads an iCalendar file with the icalendar module and prints, as JSON,
what a calendar program would see: the calendar's PRODID and VERSION and,
for every event, its UID, summary, start and end (local times of day, with
whether a time zone is attached) and every date-time its weekly rule
expands to (by dateutil, which icalendar itself relies on)."""

import json
import sys

import icalendar
from dateutil.rrule import rrulestr


def minutes(moment):
    return moment.strftime("%Y-%m-%dT%H:%M")


def main(path):
    with open(path, "rb") as stream:
        calendar = icalendar.Calendar.from_ical(stream.read())
    events = []
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        rule = event["RRULE"].to_ical().decode("ascii")
        events.append({
            "uid": str(event["UID"]),
            "summary": str(event["SUMMARY"]),
            "start": minutes(start),
            "end": minutes(end),
            "zoned": start.tzinfo is not None or end.tzinfo is not None,
            "stamped": "DTSTAMP" in event,
            "occurrences": [minutes(when) for when in rrulestr(rule, dtstart=start)],
        })
    json.dump({"prodid": str(calendar["PRODID"]), "version": str(calendar["VERSION"]), "events": events},
              sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
