// Palm dates: unsigned seconds since 1904-01-01 00:00:00, shown as the C
// locale's "%A %d %B %Y - %H %M %S" would show them. The arithmetic is our
// own, so the result depends on neither the time zone nor the locale of the
// process, nor on the range of the platform's time_t.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle {

std::string PalmDateText(uint32_t secondsSince1904);

}  // namespace corvelle
