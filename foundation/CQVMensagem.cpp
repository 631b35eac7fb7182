#include "foundation/CQVMensagem.h"

#include <cstdlib>
#include <string>

#include "foundation/QVCaminho.h"
#include "foundation/QVInstalacao.h"
#include "foundation/QVSistema.h"
#include "platform/win32/codepage.h"
#include "platform/win32/errortext.h"
#include "platform/win32/file.h"
#include "platform/win32/messagebox.h"

namespace {

// The catalogue's lines were read with a 1024-byte line buffer: a longer line goes on as the next
// "line", and that continuation is matched against the number like any other line.
constexpr size_t kMaximoLinha = 1023;

bool LeArquivo(const CString& caminho, std::string& conteudo) {
  HANDLE arquivo = CreateFileA(caminho, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo == INVALID_HANDLE_VALUE) return false;
  char bloco[8192];
  DWORD lidos = 0;
  while (ReadFile(arquivo, bloco, sizeof bloco, &lidos, nullptr) && lidos > 0) conteudo.append(bloco, lidos);
  CloseHandle(arquivo);
  return true;
}

// The message text of a catalogue line: from index 8, without the line's own ending, with "\n"
// pairs turned into line breaks.
CString TextoDaLinha(std::string linha) {
  if (!linha.empty() && linha.back() == '\n') linha.pop_back();
  if (!linha.empty() && linha.back() == '\r') linha.pop_back();
  std::string texto;
  for (size_t i = 8; i < linha.size(); ++i) {
    bool quebra = linha[i] == '\\' && i + 1 < linha.size() && linha[i + 1] == 'n';
    texto += quebra ? '\n' : linha[i];
    if (quebra) ++i;
  }
  return CString(texto);
}

CString TextoSO(int erro, DWORD flagsExtras) {
  char buffer[256] = {};
  DWORD tamanho = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | flagsExtras, nullptr,
                                 static_cast<DWORD>(erro), 0, buffer, sizeof buffer, nullptr);
  return tamanho ? CString(buffer) : CString();
}

}  // namespace

CString QVLeMensagem(int numero, int sistema) {
  CString nome;
  nome.Format("QV%sMens.txt", static_cast<const char*>(QVGetCodigoSistema(sistema)));
  CString caminho = QVConcatenaCaminho(QVGetDiretorioMensagens(), nome);
  std::string conteudo;
  if (!LeArquivo(caminho, conteudo)) {
    CString aviso;
    aviso.Format("Não foi possível abrir o arquivo texto de Mensagens %s. Caso o caminho esteja correto, atualize o arquivo."_ansi,
                 static_cast<const char*>(caminho));
    MessageBoxA(nullptr, aviso, "Erro", MB_OK | MB_ICONWARNING);
    return CString();
  }
  for (size_t inicio = 0; inicio < conteudo.size();) {
    size_t fim = conteudo.find('\n', inicio);
    size_t tamanho = (fim == std::string::npos ? conteudo.size() : fim + 1) - inicio;
    if (tamanho > kMaximoLinha) tamanho = kMaximoLinha;
    std::string linha = conteudo.substr(inicio, tamanho);
    inicio += tamanho;
    if (atoi(linha.c_str()) == numero) return TextoDaLinha(linha);
  }
  return CString();
}

CString QVTextoCompletoErro(const CString& texto, int numero, int erroSO, bool bTextoSOCurto) {
  CString completo = texto;
  if (completo.IsEmpty()) completo.Format("Erro desconhecido encontrado. Código (%d)"_ansi, numero);
  CString textoSO = erroSO ? TextoSO(erroSO, bTextoSOCurto ? FORMAT_MESSAGE_MAX_WIDTH_MASK : 0) : CString();
  if (textoSO.IsEmpty()) return completo;
  CString detalhe;
  detalhe.Format("\nErro do SO: %d - %s", erroSO, static_cast<const char*>(textoSO));
  return completo + detalhe;
}

int QVMostraMensagem(int numero, int sistema, int erroSO, UINT estilo) {
  CString texto = QVTextoCompletoErro(QVLeMensagem(numero, sistema), numero, erroSO, true);
  return MessageBoxA(nullptr, texto, QVGetTituloSistema(sistema), estilo);
}

CString QVTextoErroSO(int erro) { return TextoSO(erro, 0); }
