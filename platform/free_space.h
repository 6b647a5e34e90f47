// Whether the file system that is to take a file has room for it.
//
// A poster-sized picture takes minutes to compose and may need gigabytes; a disk that
// fills half-way loses all that work (the old file stays, but the new one is gone). So a
// large save asks first and refuses with both figures when the room is short.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tilvendo {

// Bytes an unprivileged user may still write on the file system that holds `folder`
// (an empty folder: the current one); none when the system cannot tell.
std::optional<uint64_t> FreeSpace(const std::string& folder);

// Asks for the free room of a folder: FreeSpace, or a fixed answer in tests.
using FreeSpaceQuery = std::function<std::optional<uint64_t>(const std::string& folder)>;

// Throws WriteError (a German message naming both figures) when `query` says that the
// file system of `folder` has fewer than `neededBytes` free. An unknown answer lets the
// write go ahead: a disk that fills anyway still leaves the old file as it was.
void CheckFreeSpace(const std::string& folder, uint64_t neededBytes, const FreeSpaceQuery& query);

// A byte count as a German text with a decimal unit: "950 Bytes", "12 kB", "3,4 MB",
// "905 MB", "1,2 GB".
std::string SizeText(uint64_t bytes);

}  // namespace tilvendo
