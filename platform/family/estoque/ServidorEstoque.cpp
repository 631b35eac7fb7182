#include "platform/family/estoque/ServidorEstoque.h"

#include <cstring>
#include <functional>
#include <initializer_list>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/estoque/MovimentoES.h"

namespace {

const char kLocais[] = "LOCAIS.DAT";
const char kGrupos[] = "GRUPOS.DAT";
const char kMestre[] = "MESTRE.DAT";
const char kGrades[] = "GRADES.DAT";
const char kReposicao[] = "REPOSIC.DAT";

constexpr int32_t kLeituraCompleta = 'X';

template <class Registro>
HRESULT LeTabela(const std::string& diretorio, const char* arquivo, std::vector<Registro>& registros) {
  return LeTodosFamilia(TabelaFamilia(diretorio + arquivo, sizeof(Registro)), registros);
}

template <class Registro>
HRESULT SemeiaTabela(const std::string& empresa, const char* arquivo, const std::vector<Registro>& registros) {
  return SemeiaTabelaFamilia(empresa, "ES", arquivo, sizeof(Registro), RegistrosFamilia(registros));
}

class QVES_Mestre : public ObjetoEstoque<IQVES_Mestre> {
 public:
  using ObjetoEstoque::ObjetoEstoque;

  HRESULT LeMestre(_REG_ES_MESTREPS* pregMestre, int32_t lReservado) override {
    if (const HRESULT hr = Entrada("LeMestre"); FAILED(hr)) return hr;
    if (!pregMestre) return E_POINTER;
    if (lReservado != 0) return E_INVALIDARG;
    return LeRegistroUnicoFamilia(TabelaFamilia(Sessao().diretorio + kMestre, sizeof(_REG_ES_MESTREPS)), pregMestre);
  }

  HRESULT LeGradesContabilizacao(uint16_t iPonteiroFilial, _REG_ES_GRADES_CONTABILIZACAOPS* pregGrades) override {
    if (const HRESULT hr = Entrada("LeGradesContabilizacao"); FAILED(hr)) return hr;
    if (!pregGrades) return E_POINTER;
    std::vector<_REG_ES_GRADES_CONTABILIZACAOPS> grades;
    if (const HRESULT hr = LeTabela(Sessao().diretorio, kGrades, grades); FAILED(hr)) return hr;
    for (const auto& grade : grades) {
      if (iPonteiroFilial != 0 && grade.iPonteiroFilial == iPonteiroFilial) {
        *pregGrades = grade;
        return S_OK;
      }
    }
    return kFamiliaNaoEncontrado;
  }
};

class QVES_Armazenagem : public ObjetoEstoque<IQVES_Armazenagem> {
 public:
  using ObjetoEstoque::ObjetoEstoque;

  HRESULT LeLocal(int32_t lPonteiro, _REG_ES_LOCAISPS* pregLocal, int32_t lReservado) override {
    if (const HRESULT hr = Entrada("LeLocal"); FAILED(hr)) return hr;
    if (!pregLocal) return E_POINTER;
    if (lReservado != 0) return E_INVALIDARG;
    LocalES local;
    if (const HRESULT hr = LeRegistroFamilia(TabelaFamilia(Sessao().diretorio + kLocais, sizeof(LocalES)), lPonteiro, &local);
        FAILED(hr))
      return hr;
    local.regLocal.lPosicao = lPonteiro;
    *pregLocal = local.regLocal;
    return S_OK;
  }

  HRESULT ExisteLocal(BSTR bsCodigo, int32_t lTipoLeitura, int32_t* plPonteiro, _REG_ES_LOCAISPS* pregLocal) override {
    if (const HRESULT hr = Entrada("ExisteLocal"); FAILED(hr)) return hr;
    return Procura(bsCodigo, lTipoLeitura, 0, plPonteiro, pregLocal);
  }

  HRESULT ExisteLocalFilial(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usFilial, int32_t* plPonteiro,
                            _REG_ES_LOCAISPS* pregLocal) override {
    if (const HRESULT hr = Entrada("ExisteLocalFilial"); FAILED(hr)) return hr;
    return Procura(bsCodigo, lTipoLeitura, usFilial, plPonteiro, pregLocal);
  }

  HRESULT QuantidadeLocais(BSTR bsBusca, int32_t lParametro, uint32_t* pulQtd) override {
    if (const HRESULT hr = Entrada("QuantidadeLocais"); FAILED(hr)) return hr;
    if (!pulQtd) return E_POINTER;
    if (TextoFamilia(bsBusca) != "X" || lParametro != 0) return E_INVALIDARG;
    return ContaRegistrosFamilia(TabelaFamilia(Sessao().diretorio + kLocais, sizeof(LocalES)), *pulQtd);
  }

  HRESULT LeGrupoArmazenagem(BSTR bsClassificacao, _REG_ES_GRUPO_ARMAZENAGEMPS* pregGrupo) override {
    if (const HRESULT hr = Entrada("LeGrupoArmazenagem"); FAILED(hr)) return hr;
    if (!pregGrupo) return E_POINTER;
    const std::string classificacao = TextoFamilia(bsClassificacao);
    std::vector<_REG_ES_GRUPO_ARMAZENAGEMPS> grupos;
    if (const HRESULT hr = LeTabela(Sessao().diretorio, kGrupos, grupos); FAILED(hr)) return hr;
    for (size_t i = 0; i < grupos.size(); ++i) {
      if (!classificacao.empty() &&
          IguaisSemCaixaFamilia(TextoCampoFamilia(grupos[i].szCodigo, sizeof grupos[i].szCodigo), classificacao)) {
        *pregGrupo = grupos[i];
        pregGrupo->lPosicao = static_cast<int32_t>(i + 1);
        return S_OK;
      }
    }
    return kFamiliaNaoEncontrado;
  }

 private:
  // The location of a code (without regard to case) of the branch, or of every branch.
  HRESULT Procura(BSTR bsCodigo, int32_t lTipoLeitura, uint16_t usFilial, int32_t* plPonteiro,
                  _REG_ES_LOCAISPS* pregLocal) {
    if (!plPonteiro || !pregLocal) return E_POINTER;
    if (lTipoLeitura != kLeituraCompleta) return E_INVALIDARG;
    const std::string codigo = TextoFamilia(bsCodigo);
    std::vector<LocalES> locais;
    if (const HRESULT hr = LeTabela(Sessao().diretorio, kLocais, locais); FAILED(hr)) return hr;
    for (size_t i = 0; i < locais.size(); ++i) {
      const LocalES& local = locais[i];
      if (codigo.empty() ||
          !IguaisSemCaixaFamilia(TextoCampoFamilia(local.regLocal.szCodigo, sizeof local.regLocal.szCodigo), codigo))
        continue;
      if (usFilial != 0 && local.iPonteiroFilial != 0 && local.iPonteiroFilial != usFilial) continue;
      *plPonteiro = static_cast<int32_t>(i + 1);
      *pregLocal = local.regLocal;
      pregLocal->lPosicao = *plPonteiro;
      return S_OK;
    }
    return kFamiliaNaoEncontrado;
  }
};

}  // namespace

HRESULT GravaCadastroEstoqueES(const std::string& empresa, const CadastroEstoqueES& c) {
  if (c.mestre.size() > 1) return E_INVALIDARG;
  for (const auto& semeia : std::initializer_list<std::function<HRESULT()>>{
           [&] { return SemeiaTabela(empresa, kLocais, c.locais); },
           [&] { return SemeiaTabela(empresa, kGrupos, c.grupos); },
           [&] { return SemeiaTabela(empresa, kMestre, c.mestre); },
           [&] { return SemeiaTabela(empresa, kGrades, c.grades); },
           [&] { return SemeiaTabela(empresa, kReposicao, c.lotesReposicao); }}) {
    if (const HRESULT hr = semeia(); FAILED(hr)) return hr;
  }
  return S_OK;
}

ServidorEstoque::ServidorEstoque()
    : ModuloFamilia("QVServidorES", "ES"),
      Mestre(AdicionaClasse<QVES_Mestre>("QVES_Mestre", CLSID_QVES_Mestre, IID_IQVES_Mestre)),
      Armazenagem(AdicionaClasse<QVES_Armazenagem>("QVES_Armazenagem", CLSID_QVES_Armazenagem, IID_IQVES_Armazenagem)),
      Movimento(AdicionaClasse<QVES_Movimento>("QVES_Movimento", CLSID_QVES_Movimento, IID_IQVES_Movimento)) {}
