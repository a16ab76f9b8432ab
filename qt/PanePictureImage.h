// The entry pane's picture as a QImage: model/PanePicture.h's rule, an image
// file decoded by Qt's own image readers.
#pragma once

#include <QImage>

#include "formats/Format.h"

namespace corvelle::qt {

// Null when the entry has no picture or it does not decode.
QImage PaneImage(const EntryPicture& picture);

}  // namespace corvelle::qt
