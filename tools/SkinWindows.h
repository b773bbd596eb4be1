#pragma once

#include "SkinStyle.h"

#include <vector>

namespace tilava::skin {

// The pictures of each window, painted in window pixels.
std::vector<PaintedPicture> MainWidgetPictures();
std::vector<PaintedPicture> WeekWindowPictures();
std::vector<PaintedPicture> EventEditorPictures();
std::vector<PaintedPicture> SettingsWindowPictures();
std::vector<PaintedPicture> AboutWindowPictures();

} // namespace tilava::skin
