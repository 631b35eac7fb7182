#include "server/PPTextosStatus.h"

#include <initializer_list>

#include "foundation/QVChave.h"
#include "foundation/QVData.h"
#include "platform/win32/codepage.h"

namespace {

struct Texto {
  uint8_t codigo;
  const char* texto;
};

CString Procura(std::initializer_list<Texto> tabela, uint8_t codigo) {
  for (const Texto& t : tabela)
    if (t.codigo == codigo) return CString(t.texto);
  return CString();
}

bool Bits(uint32_t tipo, std::initializer_list<int> bits) {
  for (int bit : bits)
    if (tipo & (1u << bit)) return true;
  return false;
}

}  // namespace

CString PPTextoSituacaoOP(uint8_t codigo) {
  return Procura({{1, "Não iniciada"_ansi}, {2, "Iniciada"}, {49, "Concluída c/ perda"_ansi}, {50, "Concluída"_ansi},
                  {61, "Suspensa"}, {62, "Interrompida"}, {99, "Cancelada"}},
                 codigo);
}

CString PPTextoSituacaoProcessoOP(uint8_t codigo) {
  return Procura({{1, "Não iniciado"_ansi}, {3, "Em produção"_ansi}, {4, "Parado"}, {5, "Em reprocesso"},
                  {49, "Concluído c/ perda"_ansi}, {50, "Concluído"_ansi}, {61, "Suspenso"}, {62, "Interrompido"},
                  {99, "Cancelado"}},
                 codigo);
}

CString PPTextoSituacaoManutencao(uint8_t codigo) {
  return Procura({{1, "Aguardando Componente"}, {2, "Não Iniciada"_ansi}, {4, "Iniciada"}, {8, "Concluída"_ansi},
                  {16, "Cancelada"}},
                 codigo);
}

CString PPTextoTipoItemOP(uint8_t codigo) {
  return Procura({{1, "Complemento"}, {2, "Necessidade"}, {3, "Pedido"}, {4, "Reprocesso"}}, codigo);
}

CString PPTextoSituacaoRI(uint8_t codigo) {
  return Procura({{0, "Pendente"}, {1, "Parcialmente Atendida"}, {2, "Atendida"}, {3, "Cancelada"}}, codigo);
}

CString PPTextoTipoRecurso(uint8_t codigo) { return Procura({{1, "Pessoa"}, {2, "Máquina"_ansi}}, codigo); }

CString PPTextoOPReprocesso(uint8_t codigo) { return CString(codigo == 0 ? "Normal" : "Reprocesso"); }

CString PPTextoTipoManutencao(uint8_t codigo) { return Procura({{1, "Preventiva"}, {2, "Corretiva"}}, codigo); }

CString PPTextoTipoRegistroNecessidade(uint8_t codigo) {
  return Procura({{0, "NP"}, {1, "OP"}, {2, "MRP"}, {3, "Agrupamento"}}, codigo);
}

CString PPTextoSimNao(uint8_t codigo) { return CString(codigo == 1 ? "Sim" : "Não"_ansi); }

CString PPTextoAtivoInativo(uint8_t codigo) { return Procura({{'A', "Ativo"}, {'I', "Inativo"}}, codigo); }

CString PPTextoProdutoServico(uint8_t codigo) { return Procura({{'P', "Produto"}, {'S', "Serviço"_ansi}}, codigo); }

CString PPTextoInternoExterno(uint8_t codigo) { return Procura({{0, "Externo"}, {1, "Interno"}}, codigo); }

bool PPTipoLeituraBit0(uint8_t tipo) { return Bits(tipo, {0}); }
bool PPTipoLeituraBit1(uint8_t tipo) { return Bits(tipo, {1}); }
bool PPTipoLeituraBit2(uint8_t tipo) { return Bits(tipo, {2}); }
bool PPTipoLeituraBit3(uint8_t tipo) { return Bits(tipo, {3}); }
bool PPTipoLeituraBit4(uint8_t tipo) { return Bits(tipo, {4}); }
bool PPTipoLeituraBit5(uint8_t tipo) { return Bits(tipo, {5}); }
bool PPTipoLeituraBit6(uint8_t tipo) { return Bits(tipo, {6}); }
bool PPTipoLeituraBit7(uint8_t tipo) { return Bits(tipo, {7}); }
bool PPTipoLeituraBit7OP(uint8_t tipo) { return Bits(tipo, {7}); }
bool PPTipoLeituraBit9(uint32_t tipo) { return Bits(tipo, {9}); }
bool PPTipoLeituraBit10(uint32_t tipo) { return Bits(tipo, {10}); }
bool PPTipoLeituraBit11(uint32_t tipo) { return Bits(tipo, {11}); }
bool PPTipoLeituraBit12(uint32_t tipo) { return Bits(tipo, {12}); }
bool PPTipoLeituraBit15(uint32_t tipo) { return Bits(tipo, {15}); }
bool PPTipoLeituraBit1ou7(uint32_t tipo) { return Bits(tipo, {1, 7}); }
bool PPTipoLeituraBit1ou2(uint32_t tipo) { return Bits(tipo, {1, 2}); }
bool PPTipoLeituraBit2ou3(uint32_t tipo) { return Bits(tipo, {2, 3}); }
bool PPTipoLeituraBit3ou6(uint32_t tipo) { return Bits(tipo, {3, 6}); }
bool PPTipoLeituraBit8ou12(uint32_t tipo) { return Bits(tipo, {8, 12}); }
bool PPTipoLeituraBits5_6_8_9_12(uint32_t tipo) { return Bits(tipo, {5, 6, 8, 9, 12}); }
bool PPTipoLeituraBits0a2e5a12(uint32_t tipo) { return Bits(tipo, {0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12}); }

CString PPInteiroParaTexto(int32_t numero) {
  CString texto;
  texto.Format("%d", static_cast<int>(numero));
  return texto;
}

CString PPNumeroParaTexto(uint16_t numero) {
  CString texto;
  texto.Format("%u", static_cast<unsigned>(numero));
  return texto;
}

CString PPSufixoPeriodo(uint16_t usMesAno) {
  char mesAno[8];
  CString sufixo(QVMesAnoParaTexto(usMesAno, mesAno, false));
  sufixo.Remove('/');
  return sufixo;
}

int PPComparaChaves(uint32_t a, uint32_t b) { return QVComparaChave(a, b); }
