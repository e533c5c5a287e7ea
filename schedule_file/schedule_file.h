#pragma once
// Keeping a schedule in a file (*.qvs) and reading it back.
//
// The file is indented UTF-8 JSON: a top-level object naming the format and
// its version, then the courses in order, each with its sections (number,
// start and end as the section line shows them, days as the abbreviations
// "M" .. "Su"), then the options: the busy times (start, end and days, as a
// section's), and the two orders by name. A section's CourseName is not
// kept: reading sets it to its course's name, and StartTime and EndTime to
// the texts of the slots. A file without options has none set.
//
// Writing is atomic: the old file is replaced only once the new one is wholly
// on disk, and stays as it was on any failure. Reading checks the whole file
// before it returns anything, so a caller gets either every course of the
// file or none. Messages are plain text for a message box: they name the file
// and the first thing that stopped the read or the write.
//
// Fields this version does not know are skipped, so a file that a later
// version wrote with additions still loads here; the version number goes up
// only for a change an older program could not read correctly.

#include <cstdint>
#include <filesystem>
#include <optional>

#include "schedule_document.h"

namespace quorvandel {

// Why a file could not be written or read, in words, e.g.
// Cannot load "/home/ana/chem.qvs": course 2, section 1: the end 9:00 is not after the start 9:30.
struct FileProblem {
    Text message;
};

constexpr int FirstScheduleFileVersion = 1;             // written when every section meets at one time
constexpr int ScheduleFileVersion = 2;                  // written when one meets at more; the newest read
constexpr std::int64_t MaxScheduleFileBytes = 1 << 20;  // larger files are refused both ways

// Writes the document (its live entries) to path, replacing any file there. Nothing is written
// when a text cannot be kept exactly (a lone UTF-16 surrogate), when a record
// breaks the rules of record_rules.h, or when the file would be larger than
// MaxScheduleFileBytes. Nothing on success.
std::optional<FileProblem> writeScheduleFile(const std::filesystem::path& path, const ScheduleDocument& document);

struct ScheduleFileRead {
    std::optional<ScheduleDocument> document;  // the whole file, or nothing; its records keep record_rules.h
    FileProblem problem;                       // set exactly when document is empty
};

// Reads a schedule file. Never blocks on something that is not a regular
// file (a FIFO, a device): those are refused, as are files over
// MaxScheduleFileBytes.
ScheduleFileRead readScheduleFile(const std::filesystem::path& path);

}  // namespace quorvandel
