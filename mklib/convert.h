#pragma once
// Libraries into other forms: the other record form, PBN files, and back from PBN. Every
// output is written under a temporary name and appears only when complete.

#include <cstdio>
#include <filesystem>
#include <string>

namespace vk::mklib {

// Rewrites a library in the record form of the output's name. Every record is checked.
bool ConvertLibrary(const std::filesystem::path& in, const std::filesystem::path& out, std::string& error);

// Writes every deal of a library as a PBN game with its double-dummy table.
bool ExportPbn(const std::filesystem::path& library, const std::filesystem::path& pbn, std::string& error);

// Solves the deal of every [Deal] tag of a PBN file and writes them, in file order, as a
// library. `threads` as for generating; progress goes to `report` (may be null).
bool ImportPbn(const std::filesystem::path& pbn, const std::filesystem::path& library, int threads, std::FILE* report,
               std::string& error);

}  // namespace vk::mklib
