#include "server/PPScriptsRegistro.h"

#include <cstring>

#include "server/idl/VarmoIdentificadores.h"

namespace {

std::string ScriptAppId() {
  const std::string appId = kVarmoAppIdTexto;
  return "HKCR\n"
         "{\n"
         "    NoRemove AppID\n"
         "    {\n"
         "        '" + appId + "' = s '" + kVarmoAppIdNome + "'\n"
         "        'Varmo.EXE'\n"
         "        {\n"
         "            val AppID = s '" + appId + "'\n"
         "        }\n"
         "    }\n"
         "}\n";
}

std::string ScriptClasse(const ClasseVarmo& classe) {
  const std::string descricao = std::string(classe.nome) + " Class";
  const std::string clsid = classe.textoClsid;
  const std::string progId = classe.progId;
  const std::string independente = classe.progIdIndependente;
  return "HKCR\n"
         "{\n"
         "    '" + progId + "' = s '" + descricao + "'\n"
         "    {\n"
         "        CLSID = s '" + clsid + "'\n"
         "    }\n"
         "    '" + independente + "' = s '" + descricao + "'\n"
         "    {\n"
         "        CLSID = s '" + clsid + "'\n"
         "        CurVer = s '" + progId + "'\n"
         "    }\n"
         "    NoRemove CLSID\n"
         "    {\n"
         "        ForceRemove '" + clsid + "' = s '" + descricao + "'\n"
         "        {\n"
         "            val AppID = s '" + kVarmoAppIdTexto + "'\n"
         "            ProgID = s '" + progId + "'\n"
         "            VersionIndependentProgID = s '" + independente + "'\n"
         "            LocalServer32 = s '%MODULE%'\n"
         "            TypeLib = s '" + kVarmoLibTexto + "'\n"
         "        }\n"
         "    }\n"
         "}\n";
}

}  // namespace

std::string PPScriptRegistro(uint16_t nScript) {
  if (nScript == kPPScriptAppId) return ScriptAppId();
  for (const ClasseVarmo& classe : kClassesVarmo)
    if (classe.script == nScript) return ScriptClasse(classe);
  return std::string();
}

HRESULT PPTextoModulo(const char* szCaminho, std::string* pTexto) {
  if (!szCaminho) return E_INVALIDARG;
  if (strlen(szCaminho) >= MAX_PATH) return E_OUTOFMEMORY;
  pTexto->clear();
  for (const char* c = szCaminho; *c; ++c) {
    *pTexto += *c;
    if (*c == '\'') *pTexto += '\'';
  }
  return S_OK;
}
