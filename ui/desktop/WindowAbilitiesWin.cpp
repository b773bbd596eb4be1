#include "ui/desktop/WindowAbilities.h"

namespace tilava {

WindowAbilities WindowAbilities::Current() {
    // A layered window's opacity is shown everywhere; windows go where they are moved.
    return {};
}

} // namespace tilava
