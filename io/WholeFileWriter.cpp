// WriteWholeFile on either platform: one stream, one write.
#include "io/WholeFileWriter.h"

namespace corvelle {
namespace {

template <class Path>
bool WriteThroughStream(const Path& path, std::string_view bytes, std::string& error) {
    WholeFileStream stream(path);
    if (stream.Write(bytes) && stream.Commit()) return true;
    error = stream.Error();
    return false;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
    return WriteThroughStream(path, bytes, error);
}

#ifdef _WIN32
bool WriteWholeFile(const std::wstring& path, std::string_view bytes, std::string& error) {
    return WriteThroughStream(path, bytes, error);
}
#endif

}  // namespace corvelle
