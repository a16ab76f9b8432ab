// The POSIX half of IsSameFile: stat's device and inode.
#include "io/SameFile.h"

#include <sys/stat.h>

namespace corvelle {

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat one {}, two {};
    return ::stat(a.c_str(), &one) == 0 && ::stat(b.c_str(), &two) == 0 && one.st_dev == two.st_dev &&
           one.st_ino == two.st_ino;
}

}  // namespace corvelle
