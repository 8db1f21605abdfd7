#pragma once
// Library files as the builder handles them: the record form that goes with a file name, and
// reading a record back with every check a library made by the builder must pass.

#include <cstdint>
#include <filesystem>
#include <string>

#include "deals/library_reader.h"
#include "deals/library_writer.h"

namespace vk::mklib {

// The record form named by the file's extension: ".asc" text, ".bin" binary (any case).
// Any other name is refused, so that a slip of the keyboard never picks a form silently.
bool LibraryKindFor(const std::filesystem::path& file, int32_t& kind, std::string& error);

// Opens a library for reading in the form its name gives. Refuses an empty file and one that
// ends in a partial record (a stopped run: continue it, or the records would be lost unseen).
bool OpenLibrary(const std::filesystem::path& file, LibraryFile& library, std::string& error);

// Record dealNo as cards and tricks. Fails, naming the deal, when the record is not a proper
// deal: a hand without 13 cards, a card held twice or not at all, a trick digit above 13, or a
// text record whose fixed characters (blanks between hands, line end) are out of place.
bool ReadLibraryDeal(const LibraryFile& library, int32_t dealNo, DealRecord& deal, std::string& error);

}  // namespace vk::mklib
