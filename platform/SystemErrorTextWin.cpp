#include "platform/SystemErrorText.h"

#include <windows.h>

namespace tilava {

namespace {

// Not in every SDK's headers.
constexpr DWORD kDiskQuotaExceeded = 1295;

} // namespace

std::string SystemErrorText(unsigned long code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return "prístup je zamietnutý";
    case ERROR_FILE_NOT_FOUND:
        return "súbor neexistuje";
    case ERROR_PATH_NOT_FOUND:
        return "priečinok neexistuje";
    case ERROR_INVALID_DRIVE:
        return "disk neexistuje";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "na disku nie je voľné miesto";
    case kDiskQuotaExceeded:
        return "prekročená kvóta disku";
    case ERROR_WRITE_PROTECT:
        return "disk je chránený proti zápisu";
    case ERROR_NOT_READY:
        return "disk nie je pripravený";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return "súbor práve používa iný program";
    case ERROR_DELETE_PENDING:
        return "súbor sa práve maže";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return "názov je príliš dlhý";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "názov nie je platný";
    case ERROR_DIRECTORY:
        return "na jeho mieste je priečinok";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return "súbor s týmto názvom už existuje";
    case ERROR_DIR_NOT_EMPTY:
        return "priečinok nie je prázdny";
    case ERROR_NOT_SAME_DEVICE:
        return "súbor sa nedá presunúť na iný disk";
    case ERROR_CANT_RESOLVE_FILENAME:
        return "príliš veľa symbolických odkazov za sebou";
    case ERROR_CANT_ACCESS_FILE:
        return "súbor je nedostupný";
    case ERROR_FILE_TOO_LARGE:
        return "súbor by bol príliš veľký";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "je otvorených príliš veľa súborov";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
        return "nedostatok pamäte";
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return "chyba pri čítaní alebo zápise na disk";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_DEV_NOT_EXIST:
        return "sieťový disk nie je dostupný";
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return "súborový systém to nepodporuje";
    case ERROR_INVALID_PARAMETER:
        return "neplatný názov alebo požiadavka";
    case ERROR_INVALID_HANDLE:
        return "súbor nie je otvorený";
    case ERROR_BUSY:
        return "zariadenie sa práve používa";
    case ERROR_OPERATION_ABORTED:
        return "operácia bola prerušená";
    case ERROR_KEY_DELETED:
        return "kľúč registra bol medzitým zmazaný";
    case ERROR_BADDB:
    case ERROR_BADKEY:
    case ERROR_REGISTRY_CORRUPT:
        return "register je poškodený";
    case ERROR_REGISTRY_IO_FAILED:
        return "chyba pri zápise do registra";
    default:
        return UnknownErrorText(static_cast<long long>(code));
    }
}

} // namespace tilava
