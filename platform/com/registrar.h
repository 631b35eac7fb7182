// The registrar: applies a registration script to the registry, to register a server or to
// unregister it.
//
// A script names keys under a root and the values to write in them:
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove '{FE060C07-D7ED-4A54-9D21-6D399323812B}' = s 'QVPP_TipoOP Class'
//           {
//               val AppID = s '{1817191A-992A-4DD6-A30A-4BD9E5198653}'
//               LocalServer32 = s '%MODULE%'
//           }
//       }
//   }
//
// - Roots: HKCR, HKCU, HKLM, or their long names (HKEY_CLASSES_ROOT...).
// - Words are separated by blanks; a brace is a word of its own. A name is a bare word or a text in
//   single quotes, in which two single quotes stand for one. Keywords compare without regard to
//   case.
// - A key: optional modifiers, its name, optionally its default value (`= s 'text'` for a string,
//   `= d 42` for a 32-bit number), optionally a block with its subkeys and its named values
//   (`val Name = s 'text'`).
// - Registration creates every key and writes its values; a ForceRemove key is first deleted with
//   everything under it. Unregistration deletes every key that is not NoRemove with everything
//   under it; inside a NoRemove key it goes on with the key's subkeys of the script and leaves the
//   key and its values in place. A key that is already gone is no failure.
// - Replaceable parameters: %NAME% stands for the value given for NAME, %% for one %. They are
//   replaced in the text before it is read, so a value that stands inside quotes must have its
//   single quotes doubled by the caller.
//
// The script is read whole before the registry is touched: a script that cannot be read, or that
// names a parameter without a value, fails with HRESULT_FROM_WIN32(ERROR_INVALID_DATA) and changes
// nothing. A registry failure ends the application with HRESULT_FROM_WIN32 of its error code,
// leaving what was written before it. Safe from any thread (the registry serialises its writers).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/base.h"

struct RegistrarParameter {
  std::string name;
  std::string value;
};

HRESULT UpdateRegistryFromScript(const char* script,
                                 const std::vector<RegistrarParameter>& parameters,
                                 bool do_register);
