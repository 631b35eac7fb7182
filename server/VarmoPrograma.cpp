#include "server/VarmoPrograma.h"

#include "foundation/QVCom.h"
#include "platform/com/apartment.h"
#include "server/CPPModulo.h"
#include "server/PPTabelaClasses.h"

PPComandoServidor PPComandoLinha(const char* szLinha) {
  for (const char* c = szLinha; *c; ++c) {
    if (*c != '-' && *c != '/') continue;
    const CString resto = c + 1;
    if (resto.CompareNoCase("UnregServer") == 0) return PPComandoServidor::kDesregistra;
    if (resto.CompareNoCase("RegServer") == 0) return PPComandoServidor::kRegistra;
  }
  return PPComandoServidor::kExecuta;
}

CString PPCaminhoPrograma(const char* szLinha) {
  const CString linha = szLinha;
  if (linha.IsEmpty()) return linha;
  if (linha[0] == '"') {
    const int fim = linha.Find('"', 1);
    return fim < 0 ? linha.Mid(1) : linha.Mid(1, fim - 1);
  }
  const int fim = linha.FindOneOf(" \t");
  return fim < 0 ? linha : linha.Left(fim);
}

int VarmoExecuta(const char* szLinhaComando) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  QVInicializaSegurancaCOM();
  CPPModulo& modulo = PPModulo();
  modulo.Inicializa(kPPClassesVarmo, kQuantidadeClassesVarmo, kPPBibliotecaVarmo);

  const CString caminho = PPCaminhoPrograma(szLinhaComando);
  HRESULT hr = S_OK;
  switch (PPComandoLinha(szLinhaComando)) {
    case PPComandoServidor::kDesregistra:
      modulo.DesregistraServidor(caminho);
      break;
    case PPComandoServidor::kRegistra:
      hr = modulo.RegistraServidor(caminho);
      break;
    case PPComandoServidor::kExecuta:
      modulo.ExecutaServidor();
      break;
  }

  modulo.Termina();
  CoUninitialize();
  return hr;
}

bool VinculaServidorVarmo() { return LinkLocalServer(kPPNomeModuloVarmo, &VarmoExecuta); }
