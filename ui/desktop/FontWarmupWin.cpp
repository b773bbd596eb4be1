#include "ui/desktop/FontWarmup.h"

namespace tilava {

FontWarmup::FontWarmup() = default;

FontWarmup::~FontWarmup() = default;

} // namespace tilava
