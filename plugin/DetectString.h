// The detect string by which the host offers the plug-in only our files.
#pragma once

#include <cstddef>

namespace corvelle {

inline constexpr char kDetectString[] = "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"";

// Writes the detect string into the host's buffer of `capacity` bytes. A
// buffer too small for all of it gets an empty string instead: a cut
// expression would select the wrong files or fail to parse.
void CopyDetectString(char* buffer, size_t capacity);

}  // namespace corvelle
