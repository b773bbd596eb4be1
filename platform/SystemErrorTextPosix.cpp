#include "platform/SystemErrorText.h"

namespace tilava {

std::string SystemErrorText(unsigned long code) {
    return ErrnoText(static_cast<int>(code));
}

} // namespace tilava
