#include "foundation/QVInstalacao.h"

#include <cstring>

#include "foundation/CQVRegistryKey.h"
#include "foundation/QVCaminho.h"
#include "foundation/QVSistema.h"

namespace {

const char kChaveInstalacao[] = "SOFTWARE\\QV Rivovoda\\";
constexpr int kErroRegistro = 16217;

CString ComBarraFinal(CString diretorio) {
  if (!diretorio.IsEmpty() && diretorio[diretorio.GetLength() - 1] != '\\') diretorio += '\\';
  return diretorio;
}

// Reads one value of a key; false when the key or the value cannot be read.
bool LeValor(const char* subChave, const char* nome, CString& valor) {
  CQVRegistryKey chave;
  if (chave.Abre(HKEY_LOCAL_MACHINE, subChave, false) != ERROR_SUCCESS) return false;
  DWORD tipo = chave.LeTipoValor(nome);
  if (tipo != REG_SZ && tipo != REG_EXPAND_SZ) return false;
  valor = chave.LeString(nome);
  return true;
}

int LeDiretorioInstalacao(const char* nome, CString& diretorio) {
  CString valor;
  if (!LeValor(kChaveInstalacao, nome, valor)) return kErroRegistro;
  diretorio = ComBarraFinal(valor);
  return 0;
}

CString ChaveSistema(int indice) { return QVConcatenaCaminho(kChaveInstalacao, QVGetTituloSistema(indice)); }

}  // namespace

CString QVGetValorInstalacao(const char* nomeValor) {
  return ComBarraFinal(QVLeRegistroString(HKEY_LOCAL_MACHINE, kChaveInstalacao, nomeValor));
}

CString QVGetDiretorioMensagens() { return QVGetValorInstalacao("Mensagens"); }
CString QVGetDiretorioRelatorios() { return QVGetValorInstalacao("Relatorios"); }
CString QVGetDiretorioAjuda() { return QVGetValorInstalacao("Ajuda"); }
CString QVGetDiretorioCadastros() { return QVGetValorInstalacao("Cadastros"); }
CString QVGetDiretorioImagens() { return QVGetValorInstalacao("Imagens"); }

CString QVGetPathSistema(int indiceSistema) {
  return ComBarraFinal(QVLeRegistroString(HKEY_LOCAL_MACHINE, ChaveSistema(indiceSistema), "Path"));
}

CString QVGetDiretorioEmpresa(int indiceSistema, const char* empresa) {
  CQVRegistryKey chave;
  if (chave.AbreMaquina(QVConcatenaCaminho("Empresas", empresa), false) != ERROR_SUCCESS) return CString();
  return ComBarraFinal(chave.LeString(QVGetCodigoSistema(indiceSistema)));
}

CString QVGetDiretorioIndice() {
  CString diretorio;
  QVLeDiretorioIndice(diretorio);
  return diretorio;
}

int QVLeDiretorioMensagens(CString& diretorio) { return LeDiretorioInstalacao("Mensagens", diretorio); }
int QVLeDiretorioRelatorios(CString& diretorio) { return LeDiretorioInstalacao("Relatorios", diretorio); }
int QVLeDiretorioAjuda(CString& diretorio) { return LeDiretorioInstalacao("Ajuda", diretorio); }
int QVLeDiretorioCadastros(CString& diretorio) { return LeDiretorioInstalacao("Cadastros", diretorio); }

int QVLePathSistema(const char* codigo, CString& diretorio) {
  CString maiusculo(codigo);
  maiusculo.MakeUpper();
  int indice = QVGetIndiceSistema(maiusculo);
  if (indice < 0) return kErroRegistro;
  CString valor;
  if (!LeValor(ChaveSistema(indice), "Path", valor)) return kErroRegistro;
  diretorio = ComBarraFinal(valor);
  return 0;
}

int QVLePathSistemaBuffer(const char* codigo, char* buffer) {
  CString diretorio;
  int resultado = QVLePathSistema(codigo, diretorio);
  if (resultado == 0) snprintf(buffer, MAX_PATH, "%s", static_cast<const char*>(diretorio));
  return resultado;
}

int QVLeDiretorioIndice(CString& diretorio) {
  CString valor;
  if (!LeValor(QVConcatenaCaminho(kChaveInstalacao, QVGetTituloSistema(kQVSistemaDF)), "QVIndice", valor) ||
      valor.IsEmpty())
    return kErroRegistro;
  diretorio = ComBarraFinal(valor);
  return 0;
}

int QVLeDiretorioEmpresa(const char* codigo, const char* empresa, CString& diretorio) {
  CString valor;
  CString chave = QVConcatenaCaminho(CString(kChaveInstalacao) + "Empresas", empresa);
  if (!LeValor(chave, codigo, valor)) return 0;
  diretorio = ComBarraFinal(valor);
  return 1;
}
