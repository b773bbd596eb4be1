#include "platform/SystemErrorText.h"

#include <cerrno>

namespace tilava {

std::string UnknownErrorText(long long code) {
    return "neznáma chyba systému (kód " + std::to_string(code) + ")";
}

std::string ErrnoText(int error) {
    switch (error) {
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
    case EEXIST:
        return "súbor s týmto názvom už existuje";
    case ENOTEMPTY:
        return "priečinok nie je prázdny";
    case EFBIG:
        return "súbor by bol príliš veľký";
#ifdef EOVERFLOW
    case EOVERFLOW:
        return "súbor je príliš veľký";
#endif
    case EIO:
        return "chyba pri čítaní alebo zápise na disk";
    case ENAMETOOLONG:
        return "názov je príliš dlhý";
    case EMFILE:
    case ENFILE:
        return "je otvorených príliš veľa súborov";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "súbor sa práve používa";
#ifdef ELOOP
    case ELOOP:
        return "príliš veľa symbolických odkazov za sebou";
#endif
#ifdef EMLINK
    case EMLINK:
        return "príliš veľa odkazov na súbor";
#endif
    case ENOMEM:
        return "nedostatok pamäte";
    case EXDEV:
        return "súbor sa nedá presunúť na iný disk";
    case EINVAL:
        return "neplatný názov alebo požiadavka";
    case EAGAIN:
        return "prostriedok je dočasne nedostupný, skúste to znova";
    case EINTR:
        return "operácia bola prerušená";
    case EBADF:
        return "súbor nie je otvorený";
    case ENODEV:
    case ENXIO:
        return "zariadenie neexistuje";
    case ENOSYS:
#if defined(ENOTSUP)
    case ENOTSUP:
#endif
#if defined(EOPNOTSUPP) && (!defined(ENOTSUP) || EOPNOTSUPP != ENOTSUP)
    case EOPNOTSUPP:
#endif
        return "súborový systém to nepodporuje";
#ifdef ESTALE
    case ESTALE:
        return "súbor na sieťovom disku už nie je dostupný";
#endif
#ifdef ENOTCONN
    case ENOTCONN:
        return "spojenie so sieťovým diskom je prerušené";
#endif
#ifdef ETIMEDOUT
    case ETIMEDOUT:
        return "disk neodpovedá včas";
#endif
#ifdef ENOLCK
    case ENOLCK:
        return "súbor sa nedá zamknúť";
#endif
    default:
        return UnknownErrorText(error);
    }
}

std::string SystemErrorText(std::error_code ec) {
    if (ec.category() == std::generic_category()) {
        return ErrnoText(ec.value());
    }
    if (ec.category() == std::system_category()) {
        return SystemErrorText(static_cast<unsigned long>(static_cast<unsigned>(ec.value())));
    }
    return UnknownErrorText(ec.value());
}

std::string PathText(const std::filesystem::path& path) {
    // A path made of a folder from Qt ("C:/Users/…") and a file name joined here would show
    // both kinds of separator on Windows: the user sees the system's own.
    std::filesystem::path shown = path;
    shown.make_preferred();
    const std::u8string text = shown.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace tilava
