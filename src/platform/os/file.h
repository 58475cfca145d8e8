#pragma once
// Whole-file read and atomic replace in plain C++ (no Qt), so that the same
// interface builds for every system the program runs on. Texts are UTF-8.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lw::os {

// Writes data to a temporary file beside path, puts it on the disk, renames
// it over path and puts the folder's entry on the disk too. A folder, a pipe,
// a device or a symbolic link (dangling ones included) in the file's place is
// refused before anything is written. On any failure the old file stays as it
// was and no temporary file is left. Returns an empty text on success,
// otherwise the reason in the system's words (the path is not included).
std::string Replace_File(const std::filesystem::path& path, std::string_view data);

// Storage for a read: called with a size n, returns room for n bytes that
// keeps the bytes already read. The last call gives the size that was read.
using Read_Buffer = std::function<char*(std::size_t)>;

// Reads a whole plain file of at most maxBytes bytes. Only a plain file is
// read (judged on the opened file, so a pipe swapped in at the last moment is
// never waited on). Returns an empty text on success, else the reason.
std::string Read_File(const std::filesystem::path& path, std::uint64_t maxBytes, const Read_Buffer& buffer);

inline std::string Read_File(const std::filesystem::path& path, std::uint64_t maxBytes, std::string& data)
{
    return Read_File(path, maxBytes, [&data](std::size_t n) {
        data.resize(n);
        return data.data();
    });
}

// The reasons both systems give in the same words.
inline constexpr std::string_view Reason_Folder = "it is a folder";
inline constexpr std::string_view Reason_Not_Plain = "it is not a plain file";
inline constexpr std::string_view Reason_Link = "it is a symbolic link (nothing is written through a link)";
std::string Reason_Too_Large(std::uint64_t maxBytes);

} // namespace lw::os
