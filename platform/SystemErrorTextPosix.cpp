#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace tilava {

std::string SystemErrorText(unsigned long code) {
    switch (static_cast<int>(code)) {
    case EACCES:
    case EPERM:
        return "prístup je zamietnutý";
    case EROFS:
        return "súborový systém je len na čítanie";
    case ENOSPC:
        return "na disku nie je voľné miesto";
#ifdef EDQUOT
    case EDQUOT:
        return "prekročená kvóta disku";
#endif
    case ENOENT:
        return "priečinok alebo súbor neexistuje";
    case ENOTDIR:
        return "časť cesty nie je priečinok";
    case EISDIR:
        return "na jeho mieste je priečinok";
    case EFBIG:
        return "súbor by bol príliš veľký";
    case EIO:
        return "chyba pri čítaní alebo zápise na disk";
    case ENAMETOOLONG:
        return "názov je príliš dlhý";
    case EMFILE:
    case ENFILE:
        return "je otvorených príliš veľa súborov";
    case EBUSY:
    case ETXTBSY:
        return "súbor sa práve používa";
    case ELOOP:
        return "príliš veľa symbolických odkazov";
    default:
        return std::string(std::strerror(static_cast<int>(code))) + " (chyba " +
               std::to_string(code) + ")";
    }
}

} // namespace tilava
