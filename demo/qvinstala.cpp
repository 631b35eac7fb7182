// qvinstala <directory> <catalogue>: prepares a local installation of the module in <directory>
// (the registry file that QV_REGISTRY names, the message directory with the module's catalogue, and
// the company "DEMO" with its data directories), pins the installation's clock, and prints what it
// set up, read back through the foundation's own registry and path functions.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/CQVMensagem.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"
#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"
#include "platform/win32/path.h"

namespace {

const char kEmpresa[] = "DEMO";
const char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
// The date that the installation believes at the moment it is set up; from there its clock ticks.
const char kDataInstalacao[] = "15/06/2026 08:00";

bool Grava(const char* subChave, const char* nome, const CString& valor) {
  LONG resultado = QVGravaRegistroString(HKEY_LOCAL_MACHINE, subChave, nome, valor);
  if (resultado != ERROR_SUCCESS) fprintf(stderr, "qvinstala: cannot write %s\\%s (error %d)\n", subChave, nome, static_cast<int>(resultado));
  return resultado == ERROR_SUCCESS;
}

bool CriaDiretorio(const CString& diretorio) {
  if (QVCriaDiretorio(diretorio)) return true;
  fprintf(stderr, "qvinstala: cannot create %s\n", static_cast<const char*>(diretorio));
  return false;
}

// The override: A (the date to believe), then B (the real local time at which A was current).
CString TextoRelogio() {
  unsigned dia, mes, ano, hora, minuto;
  sscanf(kDataInstalacao, "%u/%u/%u %u:%u", &dia, &mes, &ano, &hora, &minuto);
  SYSTEMTIME agora;
  GetLocalTime(&agora);
  CString texto;
  texto.Format("1;%u/%u/%u;%u:%u:0:0;%u/%u/%u;%u:%u:%u:%u", dia, mes, ano, hora, minuto, agora.wDay, agora.wMonth,
               agora.wYear, agora.wHour, agora.wMinute, agora.wSecond, agora.wMilliseconds);
  return texto;
}

bool CopiaCatalogo(const CString& origem, const CString& diretorio) {
  CString destino = QVConcatenaCaminho(diretorio, "QVPPMens.txt");
  DeleteFileA(destino);
  if (CopyFileA(origem, destino, TRUE)) return true;
  fprintf(stderr, "qvinstala: cannot copy the catalogue %s (error %u)\n", static_cast<const char*>(origem),
          static_cast<unsigned>(GetLastError()));
  return false;
}

void MostraChave(HKEY raiz, const char* nomeRaiz, const CString& subChave) {
  CQVRegistryKey chave;
  if (chave.Abre(raiz, subChave, false) != ERROR_SUCCESS) return;
  std::vector<CString> nomes;
  chave.LeNomesValores(nomes);
  if (!nomes.empty()) printf("  [%s\\%s]\n", nomeRaiz, static_cast<const char*>(subChave));
  for (const CString& nome : nomes)
    printf("    %s = %s\n", static_cast<const char*>(nome), Utf8FromAnsi(chave.LeString(nome).str()).c_str());
  std::vector<CString> filhas;
  chave.LeSubChaves(filhas);
  for (const CString& filha : filhas) MostraChave(raiz, nomeRaiz, QVConcatenaCaminho(subChave, filha));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: qvinstala <directory> <catalogue>\n");
    return 2;
  }
  CString raiz = SystemPathOf(argv[1]).c_str();
  if (raiz.IsEmpty() || raiz[raiz.GetLength() - 1] != '\\') raiz += '\\';
  CString catalogo = SystemPathOf(argv[2]).c_str();
  CString mensagens = raiz + "mensagens\\", empresa = raiz + "empresas\\DEMO\\";
  const char* instalacao = "SOFTWARE\\QV Rivovoda";
  CString chaveEmpresa = CString(instalacao) + "\\Empresas\\" + kEmpresa;
  CString chavePP = QVConcatenaCaminho(instalacao, QVGetTituloSistema(kQVSistemaPP));
  CString chaveDF = QVConcatenaCaminho(instalacao, QVGetTituloSistema(kQVSistemaDF));

  bool ok = CriaDiretorio(mensagens) && CriaDiretorio(raiz + "relatorios\\") && CriaDiretorio(raiz + "ajuda\\") &&
            CriaDiretorio(raiz + "cadastros\\") && CriaDiretorio(raiz + "imagens\\") && CriaDiretorio(raiz + "indice\\") &&
            CriaDiretorio(empresa + "PP\\") && CriaDiretorio(empresa + "DF\\") && CopiaCatalogo(catalogo, mensagens) &&
            Grava(instalacao, "Mensagens", mensagens) && Grava(instalacao, "Relatorios", raiz + "relatorios\\") &&
            Grava(instalacao, "Ajuda", raiz + "ajuda\\") && Grava(instalacao, "Cadastros", raiz + "cadastros\\") &&
            Grava(instalacao, "Imagens", raiz + "imagens\\") && Grava(chavePP, "Path", raiz + "bin\\") &&
            Grava(chaveDF, "Path", raiz + "bin\\") && Grava(chaveDF, "QVIndice", raiz + "indice\\") &&
            Grava(chaveEmpresa, "PP", empresa + "PP\\") && Grava(chaveEmpresa, "DF", empresa + "DF\\") &&
            Grava(kChaveAmbiente, "QV_DATETIME", TextoRelogio());
  if (!ok) return 1;

  printf("Local installation in %s (registry file %s)\n\n", argv[1], getenv("QV_REGISTRY") ? getenv("QV_REGISTRY") : "?");
  printf("Registry:\n");
  MostraChave(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SOFTWARE\\QV Rivovoda");
  MostraChave(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", kChaveAmbiente);
  printf("\nAs the module reads it:\n");
  printf("  message directory          %s\n", static_cast<const char*>(QVGetDiretorioMensagens()));
  printf("  data directory of %s (PP) %s\n", kEmpresa, static_cast<const char*>(QVGetDiretorioEmpresa(kQVSistemaPP, kEmpresa)));
  printf("  message 16021              %s\n", Utf8FromAnsi(QVLeMensagem(16021, kQVSistemaPP).str()).c_str());
  return 0;
}
