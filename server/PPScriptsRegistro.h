// The server's 18 registration scripts, in the registrar's language (platform/com/registrar.h):
// number 100 for the AppID, and one per class with the number of the class table (101 to 105 and
// 107 to 118; there is no 106). Each class script writes the class's two ProgIDs and its CLSID key
// with its AppID, ProgIDs, LocalServer32 (%MODULE%, the program's path) and type library; CLSID
// and AppID themselves are NoRemove, the CLSID key of the class is ForceRemove.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/base.h"

constexpr uint16_t kPPScriptAppId = 100;

// The script's text; empty for a number that has no script.
std::string PPScriptRegistro(uint16_t nScript);

// The value of %MODULE% for a program path: the path itself (the file systems here have no short
// names), with each single quote doubled for the script's quotes. A path of MAX_PATH (260)
// characters or more does not fit the path buffer: E_OUTOFMEMORY.
HRESULT PPTextoModulo(const char* szCaminho, std::string* pTexto);
