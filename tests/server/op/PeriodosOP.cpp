#include "tests/server/op/PeriodosOP.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "tests/support/ArquivoRegistros.h"

MesOP::MesOP(uint16_t usMesAno) : usMesAno_(usMesAno) {}

std::string MesOP::Nome(const char* prefixo, uint16_t usMesAno) {
  // Month numbers count months from 01/1848 (= 1).
  const int mes = (usMesAno - 1) % 12 + 1;
  const int ano = 1848 + (usMesAno - 1) / 12;
  char nome[16];
  std::snprintf(nome, sizeof nome, "%s%02d%02d.DAT", prefixo, mes, ano % 100);
  return nome;
}

uint32_t MesOP::Arquivo::Novo() {
  registros.emplace_back(tamanho, '\0');
  return static_cast<uint32_t>(registros.size());
}

template <class T>
void MesOP::Arquivo::Poe(uint32_t registro, uint32_t deslocamento, T valor) {
  std::string& bytes = registros.at(registro - 1);
  if (deslocamento + sizeof valor > bytes.size()) throw std::out_of_range("a field outside its record");
  std::memcpy(bytes.data() + deslocamento, &valor, sizeof valor);
}

void MesOP::Arquivo::PoeGrade(uint32_t registro, uint32_t deslocamento, const GradeTeste& grade) {
  Poe<uint16_t>(registro, deslocamento, grade.us1);
  Poe<uint16_t>(registro, deslocamento + 2, grade.us2);
  Poe<uint16_t>(registro, deslocamento + 4, grade.us3);
}

uint32_t MesOP::Ordem(const OrdemTeste& ordem) {
  // The processes' lists first, so that the processes themselves stay one run.
  struct Listas {
    uint32_t insumos, recursos, operacoes;
  };
  std::vector<Listas> listas;
  for (const ProcessoTeste& processo : ordem.processos) {
    Listas lista{};
    for (const InsumoTeste& insumo : processo.insumos) {
      const uint32_t m = mt_.Novo();
      if (!lista.insumos) lista.insumos = m;
      mt_.Poe<uint32_t>(m, 48, insumo.produto);
      mt_.PoeGrade(m, 76, insumo.grade);
    }
    for (int32_t recurso : processo.recursos) {
      const uint32_t r = rp_.Novo();
      if (!lista.recursos) lista.recursos = r;
      rp_.Poe<int32_t>(r, 32, recurso);
    }
    for (int32_t operacao : processo.operacoes) {
      const uint32_t s = as_.Novo();
      if (!lista.operacoes) lista.operacoes = s;
      as_.Poe<int32_t>(s, 36, operacao);
    }
    listas.push_back(lista);
  }
  const uint32_t primeiroProcesso = ordem.processos.empty() ? 0 : pr_.Proximo();
  for (size_t i = 0; i < ordem.processos.size(); ++i) {
    const ProcessoTeste& processo = ordem.processos[i];
    const uint32_t p = pr_.Novo();
    pr_.Poe<int32_t>(p, 44, processo.processo);
    pr_.Poe<uint32_t>(p, 48, listas[i].insumos);
    pr_.Poe<uint32_t>(p, 52, listas[i].operacoes);
    pr_.Poe<uint32_t>(p, 56, listas[i].recursos);
    pr_.Poe<uint16_t>(p, 72, static_cast<uint16_t>(processo.insumos.size()));
    pr_.Poe<uint16_t>(p, 74, static_cast<uint16_t>(processo.operacoes.size()));
    pr_.Poe<uint16_t>(p, 76, static_cast<uint16_t>(processo.recursos.size()));
    pr_.Poe<uint8_t>(p, 95, 1);
  }
  const uint32_t primeiroItem = ordem.itens.empty() ? 0 : it_.Proximo();
  for (const ItemTeste& item : ordem.itens) {
    const uint32_t t = it_.Novo();
    it_.Poe<uint32_t>(t, 36, item.produto);
    it_.PoeGrade(t, 48, item.grade);
    it_.Poe<uint8_t>(t, 62, static_cast<uint8_t>(item.tipo));
  }
  const uint32_t o = op_.Novo();
  op_.Poe<uint32_t>(o, 0, o);  // the order number
  op_.Poe<int32_t>(o, 48, ordem.fluxo);
  op_.Poe<uint32_t>(o, 52, ordem.produto);
  op_.Poe<uint32_t>(o, 60, primeiroProcesso);
  op_.Poe<uint32_t>(o, 64, primeiroItem);
  op_.Poe<int32_t>(o, 76, ordem.colecao);
  op_.Poe<uint16_t>(o, 108, static_cast<uint16_t>(ordem.processos.size()));
  op_.Poe<uint16_t>(o, 110, static_cast<uint16_t>(ordem.itens.size()));
  op_.PoeGrade(o, 118, ordem.grade);
  op_.Poe<uint8_t>(o, 170, ordem.situacao);
  op_.Poe<uint8_t>(o, 171, ordem.removida);
  op_.Poe<uint8_t>(o, 182, static_cast<uint8_t>(ordem.tipo));
  return o;
}

uint32_t MesOP::Movimentos(const std::vector<MovimentoTeste>& movimentos) {
  const uint32_t primeiro = movimentos.empty() ? 0 : me_.Proximo();
  for (const MovimentoTeste& movimento : movimentos) {
    const uint32_t m = me_.Novo();
    me_.Poe<uint32_t>(m, 64, movimento.produto);
    me_.PoeGrade(m, 68, movimento.grade);
    me_.Poe<uint8_t>(m, 88, 1);  // posted
  }
  return primeiro;
}

uint32_t MesOP::Apontamento(const ApontamentoTeste& apontamento) {
  const uint32_t naoApontados = apontamento.recursosNaoApontados.empty() ? 0 : ar_.Proximo();
  for (int32_t recurso : apontamento.recursosNaoApontados) ar_.Poe<int32_t>(ar_.Novo(), 40, recurso);
  std::vector<uint32_t> operacoes;
  for (const RecursoApontadoTeste& recurso : apontamento.recursos) {
    operacoes.push_back(recurso.operacoes.empty() ? 0 : ao_.Proximo());
    for (uint32_t operacao : recurso.operacoes) ao_.Poe<uint32_t>(ao_.Novo(), 0, operacao);
  }
  const uint32_t recursos = apontamento.recursos.empty() ? 0 : ar_.Proximo();
  for (size_t i = 0; i < apontamento.recursos.size(); ++i) {
    const uint32_t r = ar_.Novo();
    ar_.Poe<int32_t>(r, 40, apontamento.recursos[i].recurso);
    ar_.Poe<uint32_t>(r, 58, operacoes[i]);
    ar_.Poe<uint16_t>(r, 62, static_cast<uint16_t>(apontamento.recursos[i].operacoes.size()));
  }
  const uint32_t entradas = Movimentos(apontamento.entradas);
  const uint32_t refugo = Movimentos(apontamento.refugo);
  const uint32_t estoque = Movimentos(apontamento.estoque);
  std::vector<uint32_t> movimentosRetornos;
  for (const auto& retorno : apontamento.retornos) movimentosRetornos.push_back(Movimentos(retorno));
  const uint32_t retornos = apontamento.retornos.empty() ? 0 : ri_.Proximo();
  for (size_t i = 0; i < apontamento.retornos.size(); ++i) {
    const uint32_t r = ri_.Novo();
    ri_.Poe<uint32_t>(r, 32, movimentosRetornos[i]);
    ri_.Poe<uint16_t>(r, 58, static_cast<uint16_t>(apontamento.retornos[i].size()));
  }

  const uint32_t a = ap_.Novo();
  ap_.Poe<uint32_t>(a, 68, entradas);
  ap_.Poe<uint32_t>(a, 72, refugo);
  ap_.Poe<int32_t>(a, 84, apontamento.operacao);
  ap_.Poe<uint32_t>(a, 92, estoque);
  ap_.Poe<uint32_t>(a, 96, retornos);
  ap_.Poe<int32_t>(a, 112, apontamento.motivoRefugo);
  ap_.Poe<uint32_t>(a, 120, naoApontados);
  ap_.Poe<uint32_t>(a, 124, recursos);
  ap_.Poe<uint16_t>(a, 160, static_cast<uint16_t>(apontamento.entradas.size()));
  ap_.Poe<uint16_t>(a, 162, static_cast<uint16_t>(apontamento.estoque.size()));
  ap_.Poe<uint16_t>(a, 164, static_cast<uint16_t>(apontamento.retornos.size()));
  ap_.Poe<uint16_t>(a, 166, static_cast<uint16_t>(apontamento.recursosNaoApontados.size()));
  ap_.Poe<uint16_t>(a, 168, static_cast<uint16_t>(apontamento.recursos.size()));
  ap_.Poe<uint8_t>(a, 175, 1);  // internal
  ap_.Poe<uint8_t>(a, 176, apontamento.excluido);
  ap_.Poe<uint8_t>(a, 177, !apontamento.refugo.empty());
  ap_.Poe<uint8_t>(a, 181, apontamento.entradaPendente);
  ap_.Poe<uint8_t>(a, 183, apontamento.entradaPendente ? 4 : 0);
  return a;
}

uint32_t MesOP::Necessidade(const NecessidadeTeste& necessidade) {
  const uint32_t n = nc_.Novo();
  nc_.Poe<int64_t>(n, 0, 10 * 10000);  // requested quantity
  nc_.Poe<uint32_t>(n, 44, necessidade.produto);
  nc_.Poe<int32_t>(n, 52, necessidade.colecao);
  nc_.PoeGrade(n, 68, necessidade.grade);
  nc_.Poe<uint16_t>(n, 74, 1);  // branch
  nc_.Poe<uint8_t>(n, 95, necessidade.removida);
  return n;
}

void MesOP::Grava(const EmpresaTeste& empresa) const {
  const std::vector<const Arquivo*> grupos[] = {
      {&op_, &pr_, &mt_, &rp_, &as_, &it_}, {&ap_, &ar_, &ao_, &me_, &ri_}, {&nc_}};
  for (const auto& grupo : grupos) {
    if (grupo.front()->registros.empty()) continue;
    for (const Arquivo* arquivo : grupo)
      empresa.Escreve(Nome(arquivo->prefixo, usMesAno_), ArquivoDeRegistros(arquivo->tamanho, arquivo->registros));
  }
}
