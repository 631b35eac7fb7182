#include "foundation/CQVArqControle.h"

#include <algorithm>
#include <cstring>

#include "foundation/QVCaminho.h"
#include "platform/win32/clock.h"

namespace {

const char kNomeControle[] = "QVCTLARQ.DAT";

}  // namespace

CQVArqControle::CQVArqControle(const CString& diretorio) : m_strDiretorio(diretorio) {
  m_arquivo.SetUsaArquivoControle(false);  // the control file is not listed in itself
}

int CQVArqControle::Cria(const CString& arquivo, const std::function<int()>& cria) {
  if (int erro = Abre()) return erro;
  char procurado[kTamanhoNome] = {};
  std::memcpy(procurado, arquivo, std::min<size_t>(arquivo.GetLength(), sizeof procurado));
  char registro[kTamanhoNome];
  uint32_t numero = 0;
  for (;; ++numero) {
    const int erro = m_arquivo.Le(numero, registro);
    if (erro == kQVErroFimArquivo) break;
    if (erro) return erro;
    // A name is listed only after its file was made: if the file is there, another creator made it
    // while we waited for the control file; if not, it existed once and is gone.
    if (std::memcmp(registro, procurado, sizeof procurado) == 0)
      return QVExisteArquivo(m_strDiretorio + arquivo) ? 0 : kQVErroArquivoInexistente;
  }
  if (int erro = cria()) return erro;
  return m_arquivo.Grava(procurado, &numero);
}

int CQVArqControle::Abre() {
  const CString nome = m_strDiretorio + kNomeControle;
  int erro = m_arquivo.Abre(nome, 'G', kTamanhoNome, false, true);
  if (erro == kQVErroArquivoInexistente) erro = m_arquivo.CriaArquivo(nome, 'G', kTamanhoNome);
  if (erro == kQVErroCompartilhamento) {
    Sleep(kEsperaOcupado);
    erro = m_arquivo.AbreFisico();
  }
  return erro;
}
