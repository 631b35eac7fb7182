#include "platform/family/base/RequisicaoInternaDF.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

#include "platform/family/comum/ConsultaFamilia.h"

namespace {

const char kArquivoRequisicoes[] = "REQINT.DAT";
constexpr size_t kInicioDados = offsetof(LinhaRequisicaoInternaDF, dados);

using Requisicoes = std::vector<RequisicaoInternaDF>;

TabelaFamilia TabelaRequisicoes(const std::string& diretorio) {
  return TabelaFamilia(diretorio + kArquivoRequisicoes, sizeof(LinhaRequisicaoInternaDF));
}

// The rows of the requisitions, in order.
class Codificador {
 public:
  explicit Codificador(TabelaFamilia::Registros& linhas) : linhas_(linhas) {}

  void Requisicao(const RequisicaoInternaDF& requisicao) {
    chave_ = requisicao.regRequisicao.ulChave;
    _REG_REQUISICAOINTERNAPS registro = requisicao.regRequisicao;
    registro.ulQtdItens = static_cast<uint32_t>(requisicao.itens.size());
    registro.pregItens = nullptr;
    Linha(kLinhaRequisicao, registro);
    for (const ItemRequisicaoInternaDF& item : requisicao.itens) Item(item);
  }

 private:
  void Item(const ItemRequisicaoInternaDF& item) {
    _REG_ITEMREQUISICAOINTERNAPS registro = item.regItem;
    registro.ulQtdComposicao = static_cast<uint32_t>(item.composicao.size());
    registro.ulQtdAdicionais = static_cast<uint32_t>(item.adicionais.size());
    registro.ulQtdAtendimentos = static_cast<uint32_t>(item.atendimentos.size());
    registro.pregComposicao = nullptr;
    registro.pregAdicionais = nullptr;
    registro.pregAtendimentos = nullptr;
    Linha(kLinhaItem, registro);
    for (const auto& composicao : item.composicao) Linha(kLinhaComposicaoItem, composicao);
    for (const auto& adicional : item.adicionais) Linha(kLinhaAdicionalItem, adicional);
    for (const AtendimentoDF& atendimento : item.atendimentos) Atendimento(atendimento);
  }

  void Atendimento(const AtendimentoDF& atendimento) {
    _REG_ATENDIMENTOPS registro = atendimento.regAtendimento;
    registro.ulQtdComposicao = static_cast<uint32_t>(atendimento.composicao.size());
    registro.ulQtdAdicionais = static_cast<uint32_t>(atendimento.adicionais.size());
    registro.pregComposicao = nullptr;
    registro.pregAdicionais = nullptr;
    Linha(kLinhaAtendimento, registro);
    for (const auto& composicao : atendimento.composicao) Linha(kLinhaComposicaoAtendimento, composicao);
    for (const AdicionalAtendimentoDF& adicional : atendimento.adicionais) {
      _REG_ATENDIMENTO_ADICIONALPS entrada = adicional.regAdicional;
      entrada.ulQtdSubitens = static_cast<uint32_t>(adicional.subitens.size());
      entrada.pregSubitens = nullptr;
      Linha(kLinhaAdicionalAtendimento, entrada);
      for (const auto& subitem : adicional.subitens) Linha(kLinhaSubitemAdicional, subitem);
    }
  }

  template <class T>
  void Linha(uint8_t tipo, const T& registro) {
    static_assert(sizeof(T) <= sizeof(LinhaRequisicaoInternaDF::dados));
    LinhaRequisicaoInternaDF linha{};
    linha.ulChave = chave_;
    linha.cTipo = tipo;
    std::memcpy(linha.dados, &registro, sizeof(T));
    const auto* bytes = reinterpret_cast<const uint8_t*>(&linha);
    linhas_.emplace_back(bytes, bytes + sizeof linha);
  }

  TabelaFamilia::Registros& linhas_;
  uint32_t chave_ = 0;
};

TabelaFamilia::Registros Codifica(const Requisicoes& requisicoes) {
  TabelaFamilia::Registros linhas;
  Codificador codificador(linhas);
  for (const RequisicaoInternaDF& requisicao : requisicoes) codificador.Requisicao(requisicao);
  return linhas;
}

// The requisitions of the rows; false when the rows do not follow the counts of their records.
class Decodificador {
 public:
  explicit Decodificador(const TabelaFamilia::Registros& linhas) : linhas_(linhas) {}

  bool Todas(Requisicoes& requisicoes) {
    requisicoes.clear();
    while (proxima_ < linhas_.size()) {
      RequisicaoInternaDF requisicao;
      chave_ = Linha(proxima_).ulChave;
      if (!Le(kLinhaRequisicao, requisicao.regRequisicao)) return false;
      for (uint32_t i = 0; i < requisicao.regRequisicao.ulQtdItens; ++i) {
        requisicao.itens.emplace_back();
        if (!Item(requisicao.itens.back())) return false;
      }
      requisicoes.push_back(std::move(requisicao));
    }
    return true;
  }

 private:
  bool Item(ItemRequisicaoInternaDF& item) {
    if (!Le(kLinhaItem, item.regItem) || !Lista(kLinhaComposicaoItem, item.regItem.ulQtdComposicao, item.composicao) ||
        !Lista(kLinhaAdicionalItem, item.regItem.ulQtdAdicionais, item.adicionais))
      return false;
    for (uint32_t i = 0; i < item.regItem.ulQtdAtendimentos; ++i) {
      item.atendimentos.emplace_back();
      AtendimentoDF& atendimento = item.atendimentos.back();
      if (!Le(kLinhaAtendimento, atendimento.regAtendimento) ||
          !Lista(kLinhaComposicaoAtendimento, atendimento.regAtendimento.ulQtdComposicao, atendimento.composicao))
        return false;
      for (uint32_t j = 0; j < atendimento.regAtendimento.ulQtdAdicionais; ++j) {
        atendimento.adicionais.emplace_back();
        AdicionalAtendimentoDF& adicional = atendimento.adicionais.back();
        if (!Le(kLinhaAdicionalAtendimento, adicional.regAdicional) ||
            !Lista(kLinhaSubitemAdicional, adicional.regAdicional.ulQtdSubitens, adicional.subitens))
          return false;
      }
    }
    return true;
  }

  template <class T>
  bool Lista(uint8_t tipo, uint32_t quantidade, std::vector<T>& lista) {
    for (uint32_t i = 0; i < quantidade; ++i) {
      T registro;
      if (!Le(tipo, registro)) return false;
      lista.push_back(registro);
    }
    return true;
  }

  template <class T>
  bool Le(uint8_t tipo, T& registro) {
    if (proxima_ >= linhas_.size()) return false;
    const LinhaRequisicaoInternaDF& linha = Linha(proxima_);
    if (linha.cTipo != tipo || linha.ulChave != chave_) return false;
    std::memcpy(static_cast<void*>(&registro), linhas_[proxima_].data() + kInicioDados, sizeof(T));
    ++proxima_;
    return true;
  }

  const LinhaRequisicaoInternaDF& Linha(size_t indice) const {
    return *reinterpret_cast<const LinhaRequisicaoInternaDF*>(linhas_[indice].data());
  }

  const TabelaFamilia::Registros& linhas_;
  size_t proxima_ = 0;
  uint32_t chave_ = 0;
};

HRESULT Decodifica(const TabelaFamilia::Registros& linhas, Requisicoes& requisicoes) {
  if (!Decodificador(linhas).Todas(requisicoes)) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  return S_OK;
}

HRESULT LeTabela(const std::string& diretorio, Requisicoes& requisicoes) {
  TabelaFamilia::Registros linhas;
  if (const HRESULT hr = TabelaRequisicoes(diretorio).Le(linhas); FAILED(hr)) return hr;
  return Decodifica(linhas, requisicoes);
}

// One exclusive change of the table: the alteration's failure leaves it as it was.
HRESULT AlteraTabela(const std::string& diretorio, const std::function<HRESULT(Requisicoes&)>& alteracao) {
  return TabelaRequisicoes(diretorio).Altera([&](TabelaFamilia::Registros& linhas) -> HRESULT {
    Requisicoes requisicoes;
    if (const HRESULT hr = Decodifica(linhas, requisicoes); FAILED(hr)) return hr;
    if (const HRESULT hr = alteracao(requisicoes); FAILED(hr)) return hr;
    linhas = Codifica(requisicoes);
    return S_OK;
  });
}

RequisicaoInternaDF* Procura(Requisicoes& requisicoes, uint32_t chave) {
  for (RequisicaoInternaDF& requisicao : requisicoes)
    if (requisicao.regRequisicao.ulChave == chave) return &requisicao;
  return nullptr;
}

// A caller's array of `quantidade` elements (its own element type T, or opaque bytes read as T).
template <class T, class Origem>
HRESULT CopiaDoChamador(const Origem* origem, uint32_t quantidade, std::vector<T>& destino) {
  destino.clear();
  if (quantidade == 0) return S_OK;
  if (!origem) return E_POINTER;
  const T* elementos = reinterpret_cast<const T*>(origem);
  destino.assign(elementos, elementos + quantidade);
  return S_OK;
}

// The requisition of a caller's record, through its nested arrays (which stay the caller's).
HRESULT DoRegistro(const _REG_REQUISICAOINTERNAPS& registro, RequisicaoInternaDF& requisicao) {
  requisicao.regRequisicao = registro;
  std::vector<_REG_ITEMREQUISICAOINTERNAPS> itens;
  if (const HRESULT hr = CopiaDoChamador(registro.pregItens, registro.ulQtdItens, itens); FAILED(hr)) return hr;
  requisicao.itens.clear();
  for (const _REG_ITEMREQUISICAOINTERNAPS& regItem : itens) {
    ItemRequisicaoInternaDF item;
    item.regItem = regItem;
    std::vector<_REG_ATENDIMENTOPS> atendimentos;
    if (const HRESULT hr = CopiaDoChamador(regItem.pregComposicao, regItem.ulQtdComposicao, item.composicao); FAILED(hr))
      return hr;
    if (const HRESULT hr = CopiaDoChamador(regItem.pregAdicionais, regItem.ulQtdAdicionais, item.adicionais); FAILED(hr))
      return hr;
    if (const HRESULT hr = CopiaDoChamador(regItem.pregAtendimentos, regItem.ulQtdAtendimentos, atendimentos);
        FAILED(hr))
      return hr;
    for (const _REG_ATENDIMENTOPS& regAtendimento : atendimentos) {
      AtendimentoDF atendimento;
      atendimento.regAtendimento = regAtendimento;
      std::vector<_REG_ATENDIMENTO_ADICIONALPS> adicionais;
      if (const HRESULT hr = CopiaDoChamador(regAtendimento.pregComposicao, regAtendimento.ulQtdComposicao,
                                             atendimento.composicao);
          FAILED(hr))
        return hr;
      if (const HRESULT hr = CopiaDoChamador(regAtendimento.pregAdicionais, regAtendimento.ulQtdAdicionais, adicionais);
          FAILED(hr))
        return hr;
      for (const _REG_ATENDIMENTO_ADICIONALPS& regAdicional : adicionais) {
        AdicionalAtendimentoDF adicional;
        adicional.regAdicional = regAdicional;
        if (const HRESULT hr = CopiaDoChamador(regAdicional.pregSubitens, regAdicional.ulQtdSubitens, adicional.subitens);
            FAILED(hr))
          return hr;
        atendimento.adicionais.push_back(std::move(adicional));
      }
      item.atendimentos.push_back(std::move(atendimento));
    }
    requisicao.itens.push_back(std::move(item));
  }
  return S_OK;
}

// The blocks of one answer: freed together unless the answer is complete and kept.
class BlocosResposta {
 public:
  BlocosResposta() = default;
  BlocosResposta(const BlocosResposta&) = delete;
  BlocosResposta& operator=(const BlocosResposta&) = delete;
  ~BlocosResposta() {
    if (!mantidos_)
      for (void* bloco : blocos_) CoTaskMemFree(bloco);
  }

  // A block holding `elementos` (null for none); false when the allocation fails.
  template <class T>
  bool Copia(const std::vector<T>& elementos, T*& bloco) {
    if (!CopiaParaTarefaFamilia(elementos, &bloco)) return false;
    if (bloco) blocos_.push_back(bloco);
    return true;
  }
  void Mantem() { mantidos_ = true; }

 private:
  std::vector<void*> blocos_;
  bool mantidos_ = false;
};

// The caller's record of a requisition, every nested array in a block of its own; the record is
// written only when every block was allocated.
HRESULT ParaRegistro(const RequisicaoInternaDF& requisicao, _REG_REQUISICAOINTERNAPS& saida) {
  BlocosResposta blocos;
  std::vector<_REG_ITEMREQUISICAOINTERNAPS> itens;
  for (const ItemRequisicaoInternaDF& item : requisicao.itens) {
    std::vector<_REG_ATENDIMENTOPS> atendimentos;
    for (const AtendimentoDF& atendimento : item.atendimentos) {
      std::vector<_REG_ATENDIMENTO_ADICIONALPS> adicionais;
      for (const AdicionalAtendimentoDF& adicional : atendimento.adicionais) {
        _REG_ATENDIMENTO_ADICIONALPS entrada = adicional.regAdicional;
        SubitemAdicionalDF* subitens = nullptr;
        if (!blocos.Copia(adicional.subitens, subitens)) return E_OUTOFMEMORY;
        entrada.ulQtdSubitens = static_cast<uint32_t>(adicional.subitens.size());
        entrada.pregSubitens = reinterpret_cast<uint8_t*>(subitens);
        adicionais.push_back(entrada);
      }
      _REG_ATENDIMENTOPS registro = atendimento.regAtendimento;
      _REG_ATENDIMENTO_COMPOSICAOPS* composicao = nullptr;
      _REG_ATENDIMENTO_ADICIONALPS* blocoAdicionais = nullptr;
      if (!blocos.Copia(atendimento.composicao, composicao) || !blocos.Copia(adicionais, blocoAdicionais))
        return E_OUTOFMEMORY;
      registro.ulQtdComposicao = static_cast<uint32_t>(atendimento.composicao.size());
      registro.pregComposicao = composicao;
      registro.ulQtdAdicionais = static_cast<uint32_t>(adicionais.size());
      registro.pregAdicionais = blocoAdicionais;
      atendimentos.push_back(registro);
    }
    _REG_ITEMREQUISICAOINTERNAPS registro = item.regItem;
    _REG_COMPOSICAO_ITEM_REQUISICAOPS* composicao = nullptr;
    AdicionalItemDF* adicionais = nullptr;
    _REG_ATENDIMENTOPS* blocoAtendimentos = nullptr;
    if (!blocos.Copia(item.composicao, composicao) || !blocos.Copia(item.adicionais, adicionais) ||
        !blocos.Copia(atendimentos, blocoAtendimentos))
      return E_OUTOFMEMORY;
    registro.ulQtdComposicao = static_cast<uint32_t>(item.composicao.size());
    registro.pregComposicao = composicao;
    registro.ulQtdAdicionais = static_cast<uint32_t>(item.adicionais.size());
    registro.pregAdicionais = reinterpret_cast<uint8_t*>(adicionais);
    registro.ulQtdAtendimentos = static_cast<uint32_t>(atendimentos.size());
    registro.pregAtendimentos = blocoAtendimentos;
    itens.push_back(registro);
  }
  _REG_REQUISICAOINTERNAPS registro = requisicao.regRequisicao;
  _REG_ITEMREQUISICAOINTERNAPS* blocoItens = nullptr;
  if (!blocos.Copia(itens, blocoItens)) return E_OUTOFMEMORY;
  registro.ulQtdItens = static_cast<uint32_t>(itens.size());
  registro.pregItens = blocoItens;
  blocos.Mantem();
  saida = registro;
  return S_OK;
}

// What is left to serve of the item is cancelled.
void CancelaItem(_REG_ITEMREQUISICAOINTERNAPS& item) {
  item.cItemCancelado = 1;
  const int64_t pendente = item.vQuantidade.int64 - item.vQuantidadeAtendida.int64;
  item.vQuantidadeCancelada.int64 = std::max<int64_t>(pendente, 0);
}

}  // namespace

HRESULT QVDF_RequisicaoInterna::Le(uint32_t ulChave, _REG_REQUISICAOINTERNAPS* pregRequisicao) {
  if (const HRESULT hr = Entrada("Le"); FAILED(hr)) return hr;
  if (!pregRequisicao) return E_POINTER;
  Requisicoes requisicoes;
  if (const HRESULT hr = LeTabela(Sessao().diretorio, requisicoes); FAILED(hr)) return hr;
  const RequisicaoInternaDF* requisicao = Procura(requisicoes, ulChave);
  if (!requisicao) return kFamiliaNaoEncontrado;
  return ParaRegistro(*requisicao, *pregRequisicao);
}

HRESULT QVDF_RequisicaoInterna::Grava(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) {
  if (const HRESULT hr = Entrada("Grava"); FAILED(hr)) return hr;
  if (!pulChave) return E_POINTER;
  RequisicaoInternaDF gravada;
  if (const HRESULT hr = DoRegistro(regRequisicao, gravada); FAILED(hr)) return hr;
  const uint32_t chave = regRequisicao.ulChave;
  const HRESULT hr = AlteraTabela(Sessao().diretorio, [&](Requisicoes& requisicoes) -> HRESULT {
    RequisicaoInternaDF* requisicao = Procura(requisicoes, chave);
    if (!requisicao) return kFamiliaNaoEncontrado;
    *requisicao = std::move(gravada);
    return S_OK;
  });
  if (SUCCEEDED(hr)) *pulChave = chave;
  return hr;
}

HRESULT QVDF_RequisicaoInterna::Inclui(_REG_REQUISICAOINTERNAPS regRequisicao, uint32_t* pulChave) {
  if (const HRESULT hr = Entrada("Inclui"); FAILED(hr)) return hr;
  if (!pulChave) return E_POINTER;
  RequisicaoInternaDF nova;
  if (const HRESULT hr = DoRegistro(regRequisicao, nova); FAILED(hr)) return hr;
  uint32_t chave = 0;
  const HRESULT hr = AlteraTabela(Sessao().diretorio, [&](Requisicoes& requisicoes) -> HRESULT {
    for (const RequisicaoInternaDF& requisicao : requisicoes)
      chave = std::max(chave, requisicao.regRequisicao.ulChave);
    if (chave == UINT32_MAX) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    nova.regRequisicao.ulChave = ++chave;
    requisicoes.push_back(std::move(nova));
    return S_OK;
  });
  if (SUCCEEDED(hr)) *pulChave = chave;
  return hr;
}

HRESULT QVDF_RequisicaoInterna::CancelaItens(uint32_t ulChave, uint32_t ulQtd, const uint16_t* pusItens) {
  if (const HRESULT hr = Entrada("CancelaItens"); FAILED(hr)) return hr;
  if (ulQtd > 0 && !pusItens) return E_POINTER;
  return AlteraTabela(Sessao().diretorio, [&](Requisicoes& requisicoes) -> HRESULT {
    RequisicaoInternaDF* requisicao = Procura(requisicoes, ulChave);
    if (!requisicao) return kFamiliaNaoEncontrado;
    for (uint32_t i = 0; i < ulQtd; ++i) {
      if (pusItens[i] >= requisicao->itens.size()) return kFamiliaNaoEncontrado;
      CancelaItem(requisicao->itens[pusItens[i]].regItem);
    }
    return S_OK;
  });
}

HRESULT GravaRequisicoesInternasDF(const std::string& empresa, const std::vector<RequisicaoInternaDF>& requisicoes) {
  std::set<uint32_t> chaves;
  for (const RequisicaoInternaDF& requisicao : requisicoes)
    if (requisicao.regRequisicao.ulChave == 0 || !chaves.insert(requisicao.regRequisicao.ulChave).second)
      return E_INVALIDARG;
  return SemeiaTabelaFamilia(empresa, "DF", kArquivoRequisicoes, sizeof(LinhaRequisicaoInternaDF),
                             Codifica(requisicoes));
}

HRESULT LeRequisicoesInternasDF(const std::string& empresa, std::vector<RequisicaoInternaDF>& requisicoes) {
  requisicoes.clear();
  const std::string diretorio = DiretorioModuloEmpresa(empresa, "DF");
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return LeTabela(diretorio, requisicoes);
}
