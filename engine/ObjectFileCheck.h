// The checks an object code file passes before anything of it is typed, and the words for what is wrong.
#pragma once

#include "engine/ObjectFields.h"
#include "engine/ObjectRecordReader.h"
#include "engine/TransferContext.h"

#include <filesystem>
#include <optional>

namespace quorvane::engine {

// Far more than any program for a 64 KB memory: all of it as data words is about 200 KB of object code.
inline constexpr std::uint64_t kLargestObjectFile = 4 * 1024 * 1024;

enum class ObjectTransfer { Loader, Monitor };

// The loader transfer needs text of a sensible size; the monitor transfer also needs every record up to the
// end-of-module record to follow the tag rules, hold no relocatable field and carry a right checksum.
// Completed when the file may be typed.
SenderResult checkObjectFile(const std::filesystem::path &path, ObjectTransfer transfer);

// What is wrong with a record the monitor transfer cannot type, or nothing. `typedBefore`: whether
// something of the file has been typed already.
std::optional<SenderResult> recordRefusal(const ObjectRecord &record, const RecordPlace &place, bool typedBefore);

SenderResult missingModuleEnd(bool typedBefore);

// The message after a completed transfer whose file names the program's entry.
std::string entryNotice(const ObjectField &entry);

} // namespace quorvane::engine
