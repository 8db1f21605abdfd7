#pragma once
// Temporary files carry the id of the process that writes them ("Korvan.bin.part1234"), so the
// leftovers of a process that was killed can be told from the file of one still writing.

#include <string_view>

namespace vk {

// True when `digits` is a process id (decimal, at most nine digits) of no running process.
bool NamesDeadProcess(std::string_view digits);

}  // namespace vk
