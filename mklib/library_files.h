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

// How the lines of a text library end. A text record is 88 characters and a line feed; a file
// whose lines end in CR LF, or whose last line has no line end, decodes off its records.
enum class LineEnds { Proper, CrLf, NoLastLineEnd };
LineEnds TextLineEnds(const std::filesystem::path& file);

// Opens a library for reading in the form its name gives. Refuses a folder, an empty file, a
// text library with other line ends (naming the mend: convert), and one that ends in a partial
// record (a stopped run: continue it, or the records would be lost unseen).
bool OpenLibrary(const std::filesystem::path& file, LibraryFile& library, std::string& error);

// Record dealNo as cards and tricks. Fails, naming the deal, when the record is not a proper
// deal: a hand without 13 cards, a card held twice or not at all, a trick digit above 13, or a
// text record whose fixed characters (blanks between hands, line end) are out of place.
bool ReadLibraryDeal(const LibraryFile& library, int32_t dealNo, DealRecord& deal, std::string& error);
// The same for the bytes of one record of the given kind.
bool CheckedDeal(std::span<const uint8_t> record, int32_t kind, int32_t dealNo, DealRecord& deal, std::string& error);

}  // namespace vk::mklib
