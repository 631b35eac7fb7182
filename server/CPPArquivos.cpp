#include "server/CPPArquivos.h"

#include "foundation/QVCaminho.h"
#include "server/CPPNomesArquivos.h"
#include "server/PPTextosStatus.h"

namespace {

constexpr uint32_t kErroDiretorioDados = 975;

HRESULT ComoHResult(int erro) { return erro ? PPErroHResult(static_cast<uint32_t>(erro)) : S_OK; }

}  // namespace

CPPArquivos::CPPArquivos(bool bPeriodo) : m_bPeriodo(bPeriodo) {}

void CPPArquivos::Declara(uint32_t lBit, CString (*nome)(), uint32_t ulTamanhoRegistro, CPPArqEx& arquivo) {
  m_declarados.push_back({lBit, nome, ulTamanhoRegistro, &arquivo, nullptr, false, 0});
}

void CPPArquivos::DeclaraAcompanhante(uint32_t lBit, CString (*nome)(), uint32_t ulTamanhoRegistro,
                                      CPPArqEx& arquivo) {
  m_declarados.push_back({lBit, nome, ulTamanhoRegistro, &arquivo, nullptr, true, 0});
}

void CPPArquivos::Declara(uint32_t lBit, CString (*nome)(), CQVArqDyn& arquivo) {
  m_declarados.push_back({lBit, nome, 0, nullptr, &arquivo, false, 0});
}

void CPPArquivos::AcrescentaAoAbrir(uint32_t lBit, uint32_t lAcrescimo) {
  // On the last file of the bit: the whole group is open by then.
  for (auto it = m_declarados.rbegin(); it != m_declarados.rend(); ++it) {
    if (it->lBit != lBit) continue;
    it->lAcrescimo |= lAcrescimo;
    return;
  }
}

HRESULT CPPArquivos::Inicializa(const char* empresa, uint16_t usUsuario, int32_t lSessao) {
  if (m_cInicializado) {
    if (HRESULT hr = Finaliza()) return hr;
  }
  m_strEmpresa = empresa;
  m_strDiretorio = CPPNomesArquivos::GetDiretorioDados(empresa);
  if (m_strDiretorio.IsEmpty()) return PPErroHResult(kErroDiretorioDados);
  // The caches serve a client's session; a set opened by the server for itself has none.
  if (usUsuario != 0 && lSessao != 0) m_bufferDados.Inicializa(m_strEmpresa, usUsuario, lSessao);
  const HRESULT hr = AposInicializar();
  if (hr >= 0) m_cInicializado = 1;
  return hr;
}

HRESULT CPPArquivos::Finaliza() {
  m_cInicializado = 0;
  m_usPeriodo = 0;
  // Without this, SetModo of the same mode after a new Inicializa would answer 0 and the files
  // would reopen on demand in the previous company's directory.
  m_cModo = 0;
  m_strEmpresa.Empty();
  m_strDiretorio.Empty();
  m_bufferDados.Finaliza();
  return Fecha();
}

HRESULT CPPArquivos::SetModo(char cModo) {
  if (cModo == m_cModo) return S_OK;
  return Seleciona(0, cModo);
}

HRESULT CPPArquivos::SetModo(uint16_t usMesAno, char cModo) {
  if (usMesAno == m_usPeriodo && cModo == m_cModo) return S_OK;
  return Seleciona(usMesAno, cModo);
}

HRESULT CPPArquivos::Seleciona(uint16_t usMesAno, char cModo) {
  if (m_cAberto) {
    if (HRESULT hr = Fecha()) return hr;
  }
  m_usPeriodo = usMesAno;
  m_cModo = cModo;
  if (HRESULT hr = Abre(m_lArquivos)) {
    m_cModo = 0;
    return hr;
  }
  CarregaBuffers();
  m_cAberto = 1;
  return S_OK;
}

HRESULT CPPArquivos::Fecha() {
  if (!m_cAberto) return S_OK;
  const HRESULT hr = FechaArquivos(m_lArquivos);
  m_cAberto = 0;
  return hr;
}

HRESULT CPPArquivos::Abre(uint32_t lBits) {
  std::vector<const ArquivoDeclarado*> abertos;
  for (const ArquivoDeclarado& declarado : m_declarados) {
    if ((declarado.lBit & lBits) == 0) continue;
    if (HRESULT hr = AbreDeclarado(declarado)) {
      // Left open, they would stay on this month's files through the next SetModo.
      for (const ArquivoDeclarado* aberto : abertos) FechaDeclarado(*aberto);
      return hr;
    }
    abertos.push_back(&declarado);
    m_lArquivos |= declarado.lAcrescimo;
  }
  return S_OK;
}

HRESULT CPPArquivos::FechaArquivos(uint32_t lBits) {
  for (const ArquivoDeclarado& declarado : m_declarados) {
    if (declarado.pArquivo == nullptr) continue;
    if (HRESULT hr = FechaArquivo(*declarado.pArquivo)) return hr;
  }
  for (const ArquivoDeclarado& declarado : m_declarados) {
    if (declarado.pArquivoDyn == nullptr || (declarado.lBit & lBits) == 0) continue;
    if (HRESULT hr = FechaArquivoDyn(*declarado.pArquivoDyn)) return hr;
  }
  return S_OK;
}

void CPPArquivos::CarregaBuffers() {
  for (const ArquivoDeclarado& declarado : m_declarados) {
    if (declarado.pArquivo == nullptr || declarado.bAcompanhante) continue;
    if (declarado.lBit & m_lArquivosBuffer) declarado.pArquivo->AlocaCacheTotal();
  }
}

bool CPPArquivos::Existe(uint32_t lBits, uint16_t usMesAno) {
  if (lBits == 0) return false;
  for (const ArquivoDeclarado& declarado : m_declarados) {
    if ((declarado.lBit & lBits) == 0 || declarado.bAcompanhante) continue;
    const CString nome = declarado.nome();
    if (!(m_bPeriodo ? ExisteArquivoPeriodo(nome, usMesAno) : ExisteArquivo(nome))) return false;
  }
  return true;
}

HRESULT CPPArquivos::AbreDeclarado(const ArquivoDeclarado& declarado) {
  const CString nome = declarado.nome();
  if (declarado.pArquivo) return AbreArquivo(*declarado.pArquivo, nome, declarado.ulTamanhoRegistro);
  return AbreArquivoDyn(*declarado.pArquivoDyn, nome);
}

HRESULT CPPArquivos::FechaDeclarado(const ArquivoDeclarado& declarado) {
  if (declarado.pArquivo) return FechaArquivo(*declarado.pArquivo);
  return FechaArquivoDyn(*declarado.pArquivoDyn);
}

CString CPPArquivos::Caminho(const char* nome, uint16_t usMesAno) const {
  const CString caminho = QVConcatenaCaminho(m_strDiretorio, nome);
  if (usMesAno == 0) return caminho;
  return CPPNomesArquivos::MontaNomeArquivoPeriodo(caminho, usMesAno);
}

HRESULT CPPArquivos::AbreArquivo(CPPArqEx& arquivo, const char* nome, uint32_t ulTamanhoRegistro) {
  // The engine would keep an open object on its old file and only store the new name and mode.
  if (arquivo.EstaAberto()) {
    if (HRESULT hr = FechaArquivo(arquivo)) return hr;
  }
  const CString caminho = Caminho(nome, m_usPeriodo);
  return ComoHResult(arquivo.Abre(caminho, m_cModo, ulTamanhoRegistro, true, false));
}

HRESULT CPPArquivos::AbreArquivoDyn(CQVArqDyn& arquivo, const char* nome) {
  if (HRESULT hr = FechaArquivoDyn(arquivo)) return hr;
  UINT flags = CFile::modeRead | CFile::shareDenyNone;
  if (m_cModo == 'C')
    flags = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
  else if (m_cModo == 'G')
    flags = CFile::modeReadWrite | CFile::shareDenyWrite;
  const CString caminho = Caminho(nome, m_usPeriodo);
  return PPAbreArquivoDyn(caminho, &arquivo, flags);
}

HRESULT CPPArquivos::FechaArquivo(CPPArqEx& arquivo) { return ComoHResult(arquivo.Fecha()); }

HRESULT CPPArquivos::FechaArquivoDyn(CQVArqDyn& arquivo) { return PPFechaArquivoDyn(&arquivo); }

bool CPPArquivos::ExisteArquivo(const char* nome) const { return QVExisteArquivo(Caminho(nome, 0)); }

bool CPPArquivos::ExisteArquivoPeriodo(const char* prefixo, uint16_t usMesAno) const {
  return QVExisteArquivo(Caminho(prefixo, usMesAno));
}
