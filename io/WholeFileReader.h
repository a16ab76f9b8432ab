// Reading a file whole into memory, once, and closing it at once: the viewer
// never holds the viewed file open while it is shown.
#pragma once

#include <cstdint>
#include <vector>

#include "io/NativePath.h"

namespace corvelle {

// How reading the file went.
enum class ReadResult { kRead, kNotOpened, kTooLarge, kNoMemory, kReadFailed };

// Reads the whole file at `path` into `bytes` (replacing what it held). A
// file that shrinks while it is read gives what it held; one above 4 GB is
// refused: the entry offsets of a Palm database are 32-bit. A folder or a
// device is not opened. Others may go on writing, renaming or deleting the
// file meanwhile: the viewer is only a reader.
ReadResult ReadWholeFile(const NativePath& path, std::vector<uint8_t>& bytes);

}  // namespace corvelle
