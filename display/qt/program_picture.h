#pragma once
// The pictures of the program folder (the logo, the flags, the pointers) are
// read only from regular files of a picture's size: a FIFO, a device or a
// huge file in a picture's place is skipped like a missing picture, never
// waited on or read whole.

#include <QPixmap>

#include <filesystem>

namespace kesto {

// False, with `picture` unchanged, when the file is missing, not a regular
// file, larger than any picture of ours or not a picture.
bool LoadProgramPicture(QPixmap& picture, const std::filesystem::path& file);

} // namespace kesto
