#pragma once

#include <string>

namespace tilava {

// The full name of an open file or folder (a Windows HANDLE) once every link on the way is
// followed and short names are made long, "\\?\" dropped; empty when the system cannot tell.
// Built on Windows only.
std::wstring FinalPathName(void* handle);

} // namespace tilava
