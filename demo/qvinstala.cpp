// qvinstala <directory> <catalogue>: prepares a local installation of the module in <directory>
// (the registry file that QV_REGISTRY names, the message directory with the module's catalogue, and
// the companies "DEMO" and "ANTIGA", each with its data directories, also those of the family's
// other modules, and the company record that the branch server's stand-in keeps), pins the
// installation's clock, seeds each company's records in the family's stand-ins (SementeDemo.h),
// writes the module's settings of DEMO ("PPMESTRE.DAT", which only an installation makes) and
// ANTIGA's data directory in old formats (SementeAntiga.h), and prints what it set up, read back
// through the foundation's own registry and path functions.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "foundation/CQVMensagem.h"
#include "demo/SementeAntiga.h"
#include "demo/SementeDemo.h"
#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVData.h"
#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"
#include "platform/family/filiais/ServidorFiliais.h"
#include "server/CPPServidorMestrePP.h"
#include "platform/win32/clock.h"
#include "platform/win32/codepage.h"
#include "platform/win32/file.h"
#include "platform/win32/path.h"

namespace {

const char kEmpresa[] = "DEMO";
const char kChaveAmbiente[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
// The date that the installation believes at the moment it is set up; from there its clock ticks.
const char kDataInstalacao[] = "15/06/2026 08:00";
const char kRazaoSocial[] = "DEMO Industria e Comercio Ltda";
const char kRazaoSocialAntiga[] = "ANTIGA Confeccoes Ltda";
// A company's data directories: this module's, the base system's, and those of the family's other
// modules whose stand-ins keep files for it.
const char* const kModulos[] = {"PP", "DF", "ES", "CN", "FT", "CM"};

// One step of the installation: what it does, and the step itself, which answers ERROR_SUCCESS or
// the Win32 error that stopped it.
struct Passo {
  CString nome;
  std::function<DWORD()> executa;
};

Passo CriaDiretorio(const CString& diretorio) {
  return {"create " + diretorio, [diretorio] { return QVCriaDiretorio(diretorio) ? ERROR_SUCCESS : GetLastError(); }};
}

Passo CopiaCatalogo(const CString& origem, const CString& diretorio) {
  const CString destino = QVConcatenaCaminho(diretorio, "QVPPMens.txt");
  return {"copy the catalogue " + origem, [origem, destino] {
            DeleteFileA(destino);
            return CopyFileA(origem, destino, TRUE) ? ERROR_SUCCESS : GetLastError();
          }};
}

Passo Grava(const CString& subChave, const char* nome, const CString& valor) {
  return {"write " + QVConcatenaCaminho(subChave, nome), [subChave, nome, valor] {
            return static_cast<DWORD>(QVGravaRegistroString(HKEY_LOCAL_MACHINE, subChave, nome, valor));
          }};
}

// A step's HRESULT as the error number that the installation prints (a Win32 error, or a message
// number of the record engine).
DWORD ErroDoPasso(HRESULT hr) {
  return SUCCEEDED(hr) ? static_cast<DWORD>(ERROR_SUCCESS) : static_cast<DWORD>(hr) & 0xFFFF;
}

uint16_t DataInstalacao() {
  int dia, mes, ano;
  sscanf(kDataInstalacao, "%d/%d/%d", &dia, &mes, &ano);
  return QVMontaData(dia, mes, ano);
}

Passo GravaEmpresaFilial(const char* empresa, const char* razaoSocial) {
  return {CString("seed the branch server's company record of ") + empresa,
          [empresa, razaoSocial] { return ErroDoPasso(ServidorFiliais::GravaEmpresa(empresa, razaoSocial)); }};
}

Passo SemeiaEmpresa(const char* empresa) {
  return {CString("seed the records of ") + empresa + " in the family's stand-ins",
          [empresa] { return ErroDoPasso(SemeiaDemo(empresa, DataInstalacao())); }};
}

Passo SemeiaEmpresaAntiga(const CString& diretorio) {
  return {"write the old-format data files of " + diretorio,
          [diretorio] { return ErroDoPasso(SemeiaAntiga(diretorio, DataInstalacao())); }};
}

// Record 0 of "PPMESTRE.DAT" as a small company starts: three terminals, requirements generated
// automatically and also entered and cancelled by hand, sales-order items released on production
// entry (DEMO integrates its orders), four-digit years on reports, price table 1 for products and
// services, and the installation's month as the month of implantation. Written whole each time, so
// a second run leaves the same settings.
Passo GravaMestre(const CString& diretorio) {
  const CString arquivo = diretorio + "PPMESTRE.DAT";
  return {"write the module's settings " + arquivo, [arquivo] {
            PPRegistroMestre mestre{};
            mestre.iQuantidadeTerminais = 3;
            mestre.usMesAnoImplantacao = QVDataParaMesAno(DataInstalacao());
            mestre.cPermiteInsercaoManualNecessidade = 1;
            mestre.cPermiteCancelarNecessidadeAutomatica = 1;
            mestre.cGerarNecessidadeAutomatica = 1;
            mestre.cDigitosDataRelatorio = 4;
            mestre.cLiberarItemPedido = 1;
            mestre.ulPonteiroTabelaPrecoVendaProduto = 1;
            mestre.ulPonteiroTabelaPrecoVendaServico = 1;
            HANDLE arq =
                CreateFileA(arquivo, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (arq == INVALID_HANDLE_VALUE) return GetLastError();
            DWORD escritos = 0;
            const BOOL ok = WriteFile(arq, &mestre, sizeof mestre, &escritos, nullptr);
            const DWORD erro = ok ? ERROR_SUCCESS : GetLastError();
            CloseHandle(arq);
            return ok && escritos != sizeof mestre ? static_cast<DWORD>(ERROR_WRITE_FAULT) : erro;
          }};
}

// The steps that make a company: its data directories (PP, DF and the family's other modules) with
// their values under the company's key, its record at the branch server and its records in the
// family's stand-ins.
void PassosEmpresa(std::vector<Passo>& passos, const CString& raiz, const char* instalacao, const char* empresa,
                   const char* razaoSocial) {
  const CString diretorio = raiz + "empresas\\" + empresa + "\\";
  const CString chave = CString(instalacao) + "\\Empresas\\" + empresa;
  for (const char* modulo : kModulos) {
    passos.push_back(CriaDiretorio(diretorio + modulo + "\\"));
    passos.push_back(Grava(chave, modulo, diretorio + modulo + "\\"));
  }
  passos.push_back(GravaEmpresaFilial(empresa, razaoSocial));
  passos.push_back(SemeiaEmpresa(empresa));
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
  CString mensagens = raiz + "mensagens\\";
  const char* instalacao = "SOFTWARE\\QV Rivovoda";
  CString chavePP = QVConcatenaCaminho(instalacao, QVGetTituloSistema(kQVSistemaPP));
  CString chaveDF = QVConcatenaCaminho(instalacao, QVGetTituloSistema(kQVSistemaDF));

  std::vector<Passo> passos = {
      CriaDiretorio(mensagens),
      CriaDiretorio(raiz + "relatorios\\"),
      CriaDiretorio(raiz + "ajuda\\"),
      CriaDiretorio(raiz + "cadastros\\"),
      CriaDiretorio(raiz + "imagens\\"),
      CriaDiretorio(raiz + "indice\\"),
      CopiaCatalogo(catalogo, mensagens),
      Grava(instalacao, "Mensagens", mensagens),
      Grava(instalacao, "Relatorios", raiz + "relatorios\\"),
      Grava(instalacao, "Ajuda", raiz + "ajuda\\"),
      Grava(instalacao, "Cadastros", raiz + "cadastros\\"),
      Grava(instalacao, "Imagens", raiz + "imagens\\"),
      Grava(chavePP, "Path", raiz + "bin\\"),
      Grava(chaveDF, "Path", raiz + "bin\\"),
      Grava(chaveDF, "QVIndice", raiz + "indice\\"),
      Grava(kChaveAmbiente, "QV_DATETIME", TextoRelogio()),
  };
  PassosEmpresa(passos, raiz, instalacao, kEmpresa, kRazaoSocial);
  passos.push_back(GravaMestre(raiz + "empresas\\" + kEmpresa + "\\PP\\"));
  PassosEmpresa(passos, raiz, instalacao, kAntigaEmpresa, kRazaoSocialAntiga);
  passos.push_back(SemeiaEmpresaAntiga(raiz + "empresas\\" + kAntigaEmpresa + "\\PP\\"));
  for (const Passo& passo : passos) {
    const DWORD erro = passo.executa();
    if (erro == ERROR_SUCCESS) continue;
    fprintf(stderr, "qvinstala: step \"%s\" failed (error %u)\n", static_cast<const char*>(passo.nome),
            static_cast<unsigned>(erro));
    return 1;
  }

  printf("Local installation in %s (registry file %s)\n\n", argv[1], getenv("QV_REGISTRY") ? getenv("QV_REGISTRY") : "?");
  printf("Registry:\n");
  MostraChave(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SOFTWARE\\QV Rivovoda");
  MostraChave(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", kChaveAmbiente);
  printf("\nAs the module reads it:\n");
  printf("  message directory               %s\n", static_cast<const char*>(QVGetDiretorioMensagens()));
  for (const char* empresa : {kEmpresa, kAntigaEmpresa})
    printf("  data directory of %-6s (PP) %s\n", empresa,
           static_cast<const char*>(QVGetDiretorioEmpresa(kQVSistemaPP, empresa)));
  printf("  message 16021                   %s\n", Utf8FromAnsi(QVLeMensagem(16021, kQVSistemaPP).str()).c_str());
  return 0;
}
