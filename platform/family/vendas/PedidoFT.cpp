#include "platform/family/vendas/PedidoFT.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>

#include "platform/com/taskmem.h"
#include "platform/family/comum/DiretorioModulo.h"
#include "platform/family/comum/TabelaFamilia.h"

namespace {

const char kPedidos[] = "PEDIDOS.DAT";
const char kItens[] = "ITENSPED.DAT";
const char kLiberacoes[] = "LIBERPED.DAT";
const char kAnexos[] = "ANEXOPED.DAT";

constexpr int32_t kLeituraLeitores = -1;
constexpr int32_t kLeituraDemanda = 3;
constexpr uint16_t kPeriodoAteUltimoDia = 1;

// Inside an exclusive change: nothing to change, so nothing is written (the caller answers 0).
constexpr HRESULT kSemAlteracao = static_cast<HRESULT>(0x80004004);  // E_ABORT

template <class Registro>
Registro DeBytes(const TabelaFamilia::Registro& bytes) {
  Registro registro;
  std::memcpy(static_cast<void*>(&registro), bytes.data(), sizeof registro);
  return registro;
}

template <class Registro>
void ParaBytes(const Registro& registro, TabelaFamilia::Registro& bytes) {
  std::memcpy(bytes.data(), &registro, sizeof registro);
}

// The order's record as a table keeps it: what the server builds on a read is zero.
tagREG_PEDIDOPS SemArraysPedido(tagREG_PEDIDOPS pedido) {
  pedido.iQtdItens = 0;
  pedido.iQtdDetalhes = 0;
  pedido.cPossuiComplemento = 0;
  pedido.pregItens = nullptr;
  pedido.pComplemento = nullptr;
  pedido.pregDetalhes = nullptr;
  return pedido;
}

tagREG_ITENSPEDIDOPS SemArraysItem(tagREG_ITENSPEDIDOPS item) {
  item.iQtdDetalhes = 0;
  item.iQtdLiberacoes = 0;
  item.pregDetalhes = nullptr;
  item.pregLiberacoes = nullptr;
  item.pComplemento = nullptr;
  return item;
}

bool ItemDe(uint32_t chave, uint16_t indice, const ItemPedidoFT& item) {
  return item.ulChave == chave && item.usIndice == indice;
}

HRESULT ItemExiste(const std::string& diretorio, uint32_t chave, uint16_t indice) {
  std::vector<ItemPedidoFT> itens;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kItens, itens); FAILED(hr)) return hr;
  const bool existe = std::any_of(itens.begin(), itens.end(),
                                  [&](const ItemPedidoFT& item) { return ItemDe(chave, indice, item); });
  return existe ? S_OK : kFamiliaNaoEncontrado;
}

// A block of the task allocator holding `dados` (null when empty); false when it cannot be had.
// The records are packed: callers keep the block in a local and store it afterwards, as a
// reference to a pointer field of theirs would be misaligned.
bool Bloco(const uint8_t* dados, size_t tamanho, uint8_t** bloco) {
  *bloco = nullptr;
  if (tamanho == 0) return true;
  *bloco = static_cast<uint8_t*>(CoTaskMemAlloc(tamanho));
  if (!*bloco) return false;
  std::memcpy(*bloco, dados, tamanho);
  return true;
}

// The details of one place, each with its array; the count goes to `quantidade` only when every
// block was had (a failure leaves what was built for LiberaRegistroPedidoFT).
template <class Registro>
bool Detalhes(const std::vector<const AnexoPedidoFT*>& anexos, Registro& dono) {
  dono.pregDetalhes = nullptr;
  dono.iQtdDetalhes = 0;
  if (anexos.empty()) return true;
  auto* detalhes =
      static_cast<tagREG_DETALHE_PEDIDOPS*>(CoTaskMemAlloc(anexos.size() * sizeof(tagREG_DETALHE_PEDIDOPS)));
  if (!detalhes) return false;
  std::memset(static_cast<void*>(detalhes), 0, anexos.size() * sizeof(tagREG_DETALHE_PEDIDOPS));
  dono.pregDetalhes = detalhes;
  dono.iQtdDetalhes = static_cast<uint16_t>(anexos.size());
  for (size_t i = 0; i < anexos.size(); ++i) {
    std::memcpy(detalhes[i].cReservado0, anexos[i]->cCabeca, sizeof detalhes[i].cReservado0);
    uint8_t* bloco;
    if (!Bloco(anexos[i]->cDados, anexos[i]->usTamanho, &bloco)) return false;
    detalhes[i].pDados = bloco;
  }
  return true;
}

std::vector<const AnexoPedidoFT*> AnexosEm(const std::vector<AnexoPedidoFT>& anexos, uint8_t lugar,
                                            uint16_t indice) {
  std::vector<const AnexoPedidoFT*> achados;
  for (const AnexoPedidoFT& anexo : anexos) {
    const bool doItem = lugar == kDetalheItemFT || lugar == kComplementoItemFT;
    if (anexo.cLugar == lugar && (!doItem || anexo.usIndice == indice)) achados.push_back(&anexo);
  }
  return achados;
}

// Builds the order's record and every nested array from what the tables hold of it; false when an
// allocation fails (what was built hangs on `pedido` for LiberaRegistroPedidoFT).
bool MontaPedido(const PedidoFT& registro, const std::vector<ItemPedidoFT>& itens,
                 const std::vector<LiberacaoPedidoFT>& liberacoes, const std::vector<AnexoPedidoFT>& anexos,
                 tagREG_PEDIDOPS& pedido) {
  pedido = SemArraysPedido(registro.regPedido);
  const std::vector<const AnexoPedidoFT*> complemento = AnexosEm(anexos, kComplementoPedidoFT, 0);
  if (!complemento.empty()) {
    uint8_t* bloco;
    if (!Bloco(complemento.front()->cDados, complemento.front()->usTamanho, &bloco)) return false;
    pedido.pComplemento = bloco;
    pedido.cPossuiComplemento = 1;
  }
  if (!Detalhes(AnexosEm(anexos, kDetalhePedidoFT, 0), pedido)) return false;
  if (itens.empty()) return true;

  pedido.pregItens = static_cast<tagREG_ITENSPEDIDOPS*>(CoTaskMemAlloc(itens.size() * sizeof(tagREG_ITENSPEDIDOPS)));
  if (!pedido.pregItens) return false;
  pedido.iQtdItens = static_cast<uint16_t>(itens.size());
  for (size_t i = 0; i < itens.size(); ++i) pedido.pregItens[i] = SemArraysItem(itens[i].regItem);
  for (size_t i = 0; i < itens.size(); ++i) {
    tagREG_ITENSPEDIDOPS& item = pedido.pregItens[i];
    const uint16_t indice = itens[i].usIndice;
    if (!Detalhes(AnexosEm(anexos, kDetalheItemFT, indice), item)) return false;
    std::vector<tagREG_LIBERACAO_ITENS_PEDIDOPS> doItem;
    for (const LiberacaoPedidoFT& l : liberacoes) {
      if (l.usIndice != indice) continue;
      tagREG_LIBERACAO_ITENS_PEDIDOPS liberacao;
      std::memcpy(static_cast<void*>(&liberacao), &l.regLiberacao, sizeof liberacao);
      doItem.push_back(liberacao);
    }
    tagREG_LIBERACAO_ITENS_PEDIDOPS* liberacoesDoItem;
    if (!CopiaParaTarefaFamilia(doItem, &liberacoesDoItem)) return false;
    item.pregLiberacoes = liberacoesDoItem;
    item.iQtdLiberacoes = static_cast<uint16_t>(doItem.size());
    const std::vector<const AnexoPedidoFT*> seu = AnexosEm(anexos, kComplementoItemFT, indice);
    if (seu.empty()) continue;
    uint8_t* bloco;
    if (!Bloco(seu.front()->cDados, seu.front()->usTamanho, &bloco)) return false;
    item.pComplemento = bloco;
  }
  return true;
}

template <class Registro>
std::vector<Registro> DoPedido(std::vector<Registro> registros, uint32_t chave) {
  registros.erase(std::remove_if(registros.begin(), registros.end(),
                                 [chave](const Registro& r) { return r.ulChave != chave; }),
                  registros.end());
  return registros;
}

bool PassaNoFiltro(const PedidoFT& pedido, const std::vector<ItemPedidoFT>& itens, const tagREG_FILTRO_PEDIDOPS& filtro,
                   const tagREG_PERIODO_PEDIDOPS& periodo) {
  const tagREG_PEDIDOPS& p = pedido.regPedido;
  if (filtro.lPonteiroCliente != 0 && p.lPonteiroCliente != filtro.lPonteiroCliente) return false;
  if (filtro.iDataEmissaoInicial != 0 && p.iDataEmissao < filtro.iDataEmissaoInicial) return false;
  if (filtro.iDataEmissaoFinal != 0 && p.iDataEmissao > filtro.iDataEmissaoFinal) return false;
  if (periodo.iDataFinal != 0 && p.iDataEmissao > periodo.iDataFinal) return false;
  if (filtro.lPonteiroProduto == 0) return true;
  const auto grade = [](uint16_t filtrada, uint16_t doItem) { return filtrada == 0 || filtrada == doItem; };
  return std::any_of(itens.begin(), itens.end(), [&](const ItemPedidoFT& item) {
    const _REG_POSICAO_PRODUTOPS& posicao = item.regItem.regPosProdutoServico;
    return item.ulChave == pedido.ulChave &&
           posicao.lPonteiroProduto == static_cast<uint32_t>(filtro.lPonteiroProduto) &&
           grade(filtro.iPonteiroItemGrade1, posicao.iPonteiroItemGrade1) &&
           grade(filtro.iPonteiroItemGrade2, posicao.iPonteiroItemGrade2) &&
           grade(filtro.iPonteiroItemGrade3, posicao.iPonteiroItemGrade3);
  });
}

bool CabeNoAnexo(const std::vector<uint8_t>& dados) { return dados.size() <= sizeof(AnexoPedidoFT{}.cDados); }

AnexoPedidoFT Anexo(uint32_t chave, uint16_t indice, uint8_t lugar, const uint8_t* cabeca,
                    const std::vector<uint8_t>& dados) {
  AnexoPedidoFT anexo{};
  anexo.ulChave = chave;
  anexo.usIndice = indice;
  anexo.cLugar = lugar;
  anexo.usTamanho = static_cast<uint16_t>(dados.size());
  if (cabeca) std::memcpy(anexo.cCabeca, cabeca, sizeof anexo.cCabeca);
  std::copy(dados.begin(), dados.end(), anexo.cDados);
  return anexo;
}

// The anexos of one place: a complement (when not empty) or the details; false when one does not
// fit or there are too many.
bool Anexos(uint32_t chave, uint16_t indice, uint8_t lugarComplemento, const std::vector<uint8_t>& complemento,
            uint8_t lugarDetalhes, const std::vector<DetalhePedidoSemeadoFT>& detalhes,
            std::vector<AnexoPedidoFT>& anexos) {
  if (!CabeNoAnexo(complemento) || detalhes.size() > UINT16_MAX) return false;
  if (!complemento.empty()) anexos.push_back(Anexo(chave, indice, lugarComplemento, nullptr, complemento));
  for (const DetalhePedidoSemeadoFT& detalhe : detalhes) {
    if (!CabeNoAnexo(detalhe.dados)) return false;
    anexos.push_back(Anexo(chave, indice, lugarDetalhes, detalhe.cabeca, detalhe.dados));
  }
  return true;
}

}  // namespace

bool InicializacaoPedidoValida(const _REG_FT_INICIALIZA_PEDIDOPS& registro) {
  return std::all_of(std::begin(registro.cReservado34), std::end(registro.cReservado34),
                     [](uint8_t byte) { return byte == 0; });
}

HRESULT GravaPedidosFT(const std::string& empresa, const std::vector<PedidoSemeadoFT>& pedidos) {
  std::vector<PedidoFT> registros;
  std::vector<ItemPedidoFT> itens;
  std::vector<LiberacaoPedidoFT> liberacoes;
  std::vector<AnexoPedidoFT> anexos;
  std::set<uint32_t> chaves;
  for (const PedidoSemeadoFT& p : pedidos) {
    if (p.ulChave == 0 || !chaves.insert(p.ulChave).second || p.itens.size() > UINT16_MAX) return E_INVALIDARG;
    PedidoFT registro;
    std::memset(static_cast<void*>(&registro), 0, sizeof registro);
    registro.ulChave = p.ulChave;
    registro.regPedido = SemArraysPedido(p.regPedido);
    registros.push_back(registro);
    if (!Anexos(p.ulChave, 0, kComplementoPedidoFT, p.complemento, kDetalhePedidoFT, p.detalhes, anexos))
      return E_INVALIDARG;
    for (size_t i = 0; i < p.itens.size(); ++i) {
      const ItemPedidoSemeadoFT& semeado = p.itens[i];
      const auto indice = static_cast<uint16_t>(i);
      ItemPedidoFT item;
      std::memset(static_cast<void*>(&item), 0, sizeof item);
      item.ulChave = p.ulChave;
      item.usIndice = indice;
      item.regItem = SemArraysItem(semeado.regItem);
      itens.push_back(item);
      if (semeado.liberacoes.size() > UINT16_MAX) return E_INVALIDARG;
      for (const tagREG_LIBERACAO_ITENS_PEDIDOPS& l : semeado.liberacoes) liberacoes.push_back({p.ulChave, indice, l});
      if (!Anexos(p.ulChave, indice, kComplementoItemFT, semeado.complemento, kDetalheItemFT, semeado.detalhes, anexos))
        return E_INVALIDARG;
    }
  }
  if (const HRESULT hr = SemeiaTabelaFamilia(empresa, "FT", kPedidos, sizeof(PedidoFT), RegistrosFamilia(registros));
      FAILED(hr)) {
    return hr;
  }
  if (const HRESULT hr = SemeiaTabelaFamilia(empresa, "FT", kItens, sizeof(ItemPedidoFT), RegistrosFamilia(itens));
      FAILED(hr)) {
    return hr;
  }
  if (const HRESULT hr =
          SemeiaTabelaFamilia(empresa, "FT", kLiberacoes, sizeof(LiberacaoPedidoFT), RegistrosFamilia(liberacoes));
      FAILED(hr)) {
    return hr;
  }
  return SemeiaTabelaFamilia(empresa, "FT", kAnexos, sizeof(AnexoPedidoFT), RegistrosFamilia(anexos));
}

HRESULT QVFT_Pedido::LePedido(uint32_t ulChave, int32_t lTipoLeitura, tagREG_PEDIDOPS** ppregPedido) {
  if (const HRESULT hr = Entrada("LePedido"); FAILED(hr)) return hr;
  if (lTipoLeitura != kLeituraLeitores && lTipoLeitura != kLeituraDemanda) return E_INVALIDARG;
  if (!ppregPedido) return E_POINTER;
  const std::string& diretorio = Sessao().diretorio;
  std::vector<PedidoFT> pedidos;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kPedidos, pedidos); FAILED(hr)) return hr;
  const auto achado = std::find_if(pedidos.begin(), pedidos.end(),
                                   [ulChave](const PedidoFT& p) { return ulChave != 0 && p.ulChave == ulChave; });
  if (achado == pedidos.end()) return kFamiliaNaoEncontrado;
  std::vector<ItemPedidoFT> itens;
  std::vector<LiberacaoPedidoFT> liberacoes;
  std::vector<AnexoPedidoFT> anexos;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kItens, itens); FAILED(hr)) return hr;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kLiberacoes, liberacoes); FAILED(hr)) return hr;
  if (const HRESULT hr = LeTabelaFamilia(diretorio, kAnexos, anexos); FAILED(hr)) return hr;
  itens = DoPedido(std::move(itens), ulChave);
  std::stable_sort(itens.begin(), itens.end(),
                   [](const ItemPedidoFT& a, const ItemPedidoFT& b) { return a.usIndice < b.usIndice; });

  auto* pedido = static_cast<tagREG_PEDIDOPS*>(CoTaskMemAlloc(sizeof(tagREG_PEDIDOPS)));
  if (!pedido) return E_OUTOFMEMORY;
  std::memset(static_cast<void*>(pedido), 0, sizeof *pedido);
  if (!MontaPedido(*achado, itens, DoPedido(std::move(liberacoes), ulChave), DoPedido(std::move(anexos), ulChave),
                   *pedido)) {
    LiberaRegistroPedidoFT(pedido);
    CoTaskMemFree(pedido);
    return E_OUTOFMEMORY;
  }
  *ppregPedido = pedido;
  return S_OK;
}

HRESULT QVFT_Pedido::AtualizaQuantidadesProgramadas(uint32_t ulQtd,
                                                    const tagREG_DIFERENCA_QTD_PEDIDOPS* pregDiferencas) {
  if (const HRESULT hr = Entrada("AtualizaQuantidadesProgramadas"); FAILED(hr)) return hr;
  if (ulQtd == 0) return S_OK;
  if (!pregDiferencas) return E_POINTER;
  return TabelaDeFamilia<ItemPedidoFT>(Sessao().diretorio, kItens).Altera([&](TabelaFamilia::Registros& registros) {
    for (uint32_t i = 0; i < ulQtd; ++i) {
      const tagREG_DIFERENCA_QTD_PEDIDOPS& diferenca = pregDiferencas[i];
      const auto alvo = std::find_if(registros.begin(), registros.end(), [&](const TabelaFamilia::Registro& bytes) {
        return ItemDe(diferenca.lPonteiroPedido, diferenca.usIdxItemPedido, DeBytes<ItemPedidoFT>(bytes));
      });
      if (diferenca.lPonteiroPedido == 0 || alvo == registros.end()) return kFamiliaNaoEncontrado;
      ItemPedidoFT item = DeBytes<ItemPedidoFT>(*alvo);
      CY soma;
      if (const HRESULT hr = VarCyAdd(item.regItem.vQuantidadeProgramada, diferenca.vQuantidade, &soma); FAILED(hr))
        return hr;
      item.regItem.vQuantidadeProgramada = soma;
      ParaBytes(item, *alvo);
    }
    return S_OK;
  });
}

HRESULT QVFT_Pedido::LiberaItem(uint32_t ulQtd, const tagREG_LIBERA_ITEM_PEDIDOPS* pregLiberacao) {
  if (const HRESULT hr = Entrada("LiberaItem"); FAILED(hr)) return hr;
  if (ulQtd != 1) return E_INVALIDARG;
  if (!pregLiberacao) return E_POINTER;
  const tagREG_LIBERA_ITEM_PEDIDOPS pedida = *pregLiberacao;
  if (pedida.cEstorno > 1 || pedida.vQuantidade.int64 < 0) return E_INVALIDARG;
  const std::string& diretorio = Sessao().diretorio;
  if (pedida.lPonteiroPedido == 0) return kFamiliaNaoEncontrado;
  if (const HRESULT hr = ItemExiste(diretorio, pedida.lPonteiroPedido, pedida.usIdxItemPedido); FAILED(hr)) return hr;
  if (pedida.vQuantidade.int64 == 0) return kNadaALiberar;

  const HRESULT hr = TabelaDeFamilia<LiberacaoPedidoFT>(diretorio, kLiberacoes).Altera([&](TabelaFamilia::Registros& registros) {
    if (!pedida.cEstorno) {
      LiberacaoPedidoFT nova;
      std::memset(static_cast<void*>(&nova), 0, sizeof nova);
      nova.ulChave = pedida.lPonteiroPedido;
      nova.usIndice = pedida.usIdxItemPedido;
      nova.regLiberacao.vQuantidade.int64 = pedida.vQuantidade.int64;
      nova.regLiberacao.ulChaveOP = pedida.ulChaveOP;
      registros.emplace_back(sizeof nova);
      ParaBytes(nova, registros.back());
      return S_OK;
    }
    for (auto r = registros.rbegin(); r != registros.rend(); ++r) {
      const LiberacaoPedidoFT feita = DeBytes<LiberacaoPedidoFT>(*r);
      if (feita.ulChave == pedida.lPonteiroPedido && feita.usIndice == pedida.usIdxItemPedido &&
          feita.regLiberacao.ulChaveOP == pedida.ulChaveOP &&
          feita.regLiberacao.vQuantidade.int64 == pedida.vQuantidade.int64) {
        registros.erase(std::next(r).base());
        return S_OK;
      }
    }
    return kSemAlteracao;
  });
  if (hr == kSemAlteracao) return kNadaALiberar;
  return FAILED(hr) ? hr : kItemPedidoLiberado;
}

HRESULT QVFT_Pedido::BuscaPonteiros(tagREG_FILTRO_PEDIDOPS regFiltro, tagREG_PERIODO_PEDIDOPS regPeriodo,
                                    _REG_VARMO_PONTEIROS_ULONGPS* pregPonteiros) {
  if (const HRESULT hr = Entrada("BuscaPonteiros"); FAILED(hr)) return hr;
  if (!pregPonteiros) return E_POINTER;
  if (regPeriodo.iTipo != kPeriodoAteUltimoDia) return E_INVALIDARG;
  std::vector<PedidoFT> pedidos;
  std::vector<ItemPedidoFT> itens;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kPedidos, pedidos); FAILED(hr)) return hr;
  if (const HRESULT hr = LeTabelaFamilia(Sessao().diretorio, kItens, itens); FAILED(hr)) return hr;
  std::vector<uint32_t> chaves;
  for (const PedidoFT& pedido : pedidos)
    if (PassaNoFiltro(pedido, itens, regFiltro, regPeriodo)) chaves.push_back(uint32_t{pedido.ulChave});
  uint32_t* lista = nullptr;
  if (!CopiaParaTarefaFamilia(chaves, &lista)) return E_OUTOFMEMORY;
  pregPonteiros->lQtd = static_cast<uint32_t>(chaves.size());
  pregPonteiros->plPonteiro = lista;
  return S_OK;
}
