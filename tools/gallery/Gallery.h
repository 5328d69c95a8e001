// The toolkit's gallery: one picture with every control kind in a few states (a slider at 0,
// 0.5 and 1, a choice menu with its pop-up open, a text entry being edited), captioned, drawn by
// the software backend with the pieces of resources/gallery/.
#pragma once

#include "gui/software/SoftwarePlatform.h"

#include <string>

namespace gallery {

// The picture; false, with the reason in error, when a piece cannot be read.
bool render(const std::string& bitmapFolder, software::Image& picture, std::string& error);

} // namespace gallery
