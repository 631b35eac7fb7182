#include "foundation/QVCaminho.h"

#include "platform/win32/file.h"

namespace {

bool Vazio(const char* texto) { return !texto || !*texto; }

// Index of the first character of the file name (after the last backslash).
int InicioDoNome(const CString& caminho) { return caminho.ReverseFind('\\') + 1; }

// Index of the dot that starts the file name's extension, or -1.
int PontoDaExtensao(const CString& caminho) {
  int ponto = caminho.ReverseFind('.');
  return ponto >= InicioDoNome(caminho) ? ponto : -1;
}

}  // namespace

CString QVTrocaExtensao(const char* caminho, const char* extensao) {
  if (Vazio(caminho) || !extensao) return CString();
  CString texto(caminho);
  CString nova(extensao);
  if (nova.Find('.') != 0) nova = "." + nova;
  int ultimoPonto = texto.ReverseFind('.');
  bool pontoEmDiretorio = ultimoPonto >= 0 && ultimoPonto < InicioDoNome(texto) - 1;
  if (pontoEmDiretorio && texto[texto.GetLength() - 1] == '\\') return texto;
  int ponto = PontoDaExtensao(texto);
  return (ponto >= 0 ? texto.Left(ponto) : texto) + nova;
}

CString QVConcatenaCaminho(const char* diretorio, const char* nome) {
  if (!nome) return CString(diretorio);
  if (Vazio(diretorio)) return CString(nome);
  CString esquerda(diretorio), direita(nome);
  bool barraEsquerda = esquerda[esquerda.GetLength() - 1] == '\\';
  bool barraDireita = direita.Find('\\') == 0;
  if (barraEsquerda && barraDireita) return esquerda + direita.Mid(1);
  if (barraEsquerda || barraDireita) return esquerda + direita;
  return esquerda + "\\" + direita;
}

CString QVGetDiretorio(const char* caminho) {
  CString texto(caminho);
  return texto.Left(InicioDoNome(texto));
}

CString QVGetExtensao(const char* caminho) {
  CString texto(caminho);
  int ponto = PontoDaExtensao(texto);
  return ponto >= 0 ? texto.Mid(ponto + 1) : CString();
}

CString QVGetNomeArquivo(const char* caminho) {
  CString texto(caminho);
  return texto.Mid(InicioDoNome(texto));
}

CString QVGetNomeArquivoSemExtensao(const char* caminho) {
  CString nome = QVGetNomeArquivo(caminho);
  if (nome.Find('.') == 0) return CString();
  int ponto = nome.ReverseFind('.');
  return ponto >= 0 ? nome.Left(ponto) : nome;
}

bool QVTemExtensao(const char* caminho) { return QVGetNomeArquivo(caminho).Find('.') >= 0; }

CString QVGetUnidade(const char* caminho) {
  CString texto(caminho);
  if (texto.Left(2) == "\\\\") {
    int fimServidor = texto.Find('\\', 2);
    return fimServidor < 0 ? texto : texto.Left(fimServidor + 1);
  }
  int doisPontos = texto.ReverseFind(':');
  if (doisPontos < 0) return CString();
  bool barraDepois = doisPontos + 1 < texto.GetLength() && texto[doisPontos + 1] == '\\';
  return texto.Left(doisPontos + (barraDepois ? 2 : 1));
}

CString QVGetDiretorioTemporario() {
  char buffer[MAX_PATH + 1] = {};
  GetTempPathA(sizeof buffer, buffer);
  return CString(buffer);
}

CString QVGetArquivoTemporario(const char* prefixo) {
  char buffer[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(QVGetDiretorioTemporario(), Vazio(prefixo) ? "QV" : prefixo, 0, buffer)) return CString();
  return CString(buffer);
}

bool QVCriaDiretorio(const char* caminho) {
  if (Vazio(caminho)) return false;
  CString diretorio(caminho);
  if (diretorio[diretorio.GetLength() - 1] != '\\') diretorio += '\\';
  return MakeSureDirectoryPathExists(diretorio) != FALSE;
}

bool QVEhDiretorio(const char* caminho) {
  DWORD atributos = GetFileAttributesA(caminho);
  return atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY);
}

bool QVExisteArquivo(const char* caminho) { return GetFileAttributesA(caminho) != INVALID_FILE_ATTRIBUTES; }

bool QVPodeGravar(const char* caminho) {
  DWORD atributos = GetFileAttributesA(caminho);
  if (atributos == INVALID_FILE_ATTRIBUTES) return false;
  bool diretorio = atributos & FILE_ATTRIBUTE_DIRECTORY;
  CString sonda = diretorio ? CString(caminho) + "DF0001.tmp" : CString(caminho);
  bool existia = QVExisteArquivo(sonda);
  HANDLE arquivo = CreateFileA(sonda, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo == INVALID_HANDLE_VALUE) return false;
  CloseHandle(arquivo);
  if (diretorio && !existia) DeleteFileA(sonda);
  return true;
}
