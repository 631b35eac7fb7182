#include "foundation/QVSistema.h"

#include <iterator>

namespace {

struct Sistema {
  const char* codigo;
  const char* titulo;
  int numero;
  int ano;
};

// Only the base system's display name is fixed by the installations in the field; the others name
// their systems' registry keys in this installation. No system carries a version year here.
constexpr Sistema kSistemas[] = {
    {"DF", "Orvel Empresarial", 3, 0},      {"CN", "Controle de Filiais", 4, 0},
    {"ES", "Estoque", 15, 0},               {"FN", "Financeiro", 12, 0},
    {"FT", "Faturamento", 13, 0},           {"EF", "Escrita Fiscal", 6, 0},
    {"CM", "Compras", 14, 0},               {"OR", "Orcamentos", 10, 0},
    {"GE", "Gerencial", 11, 0},             {"CL", "Cobranca", 18, 0},
    {"CX", "Caixa", 17, 0},                 {"EC", "Comercio Eletronico", 19, 0},
    {"AC", "Contabilidade", 8, 0},          {"PN", "Ponto", 7, 0},
    {"CP", "Contas a Pagar", 5, 0},         {"FP", "Folha de Pagamento", 9, 0},
    {"LL", "Livros", 0, 0},                 {"IN", "Indicadores", 0, 0},
    {"EX", "Exportacao", 23, 0},            {"PP", "Planejamento da Producao", 24, 0},
    {"GD", "Gestao de Documentos", 25, 0},
};

const Sistema* SistemaDoIndice(int indice) {
  if (indice < 1 || indice > QVGetQuantidadeSistemas()) return nullptr;
  return &kSistemas[indice - 1];
}

}  // namespace

int QVGetQuantidadeSistemas() { return static_cast<int>(std::size(kSistemas)); }

CString QVGetCodigoSistema(int indice) {
  const Sistema* s = SistemaDoIndice(indice);
  return CString(s ? s->codigo : "");
}

CString QVGetTituloSistema(int indice) {
  const Sistema* s = SistemaDoIndice(indice);
  return CString(s ? s->titulo : "");
}

int QVGetNumeroSistema(int indice) {
  const Sistema* s = SistemaDoIndice(indice);
  return s ? s->numero : 0;
}

int QVGetAnoSistema(int indice) {
  const Sistema* s = SistemaDoIndice(indice);
  return s ? s->ano : 0;
}

int QVGetIndiceSistema(const char* codigo) {
  for (int i = 1; i <= QVGetQuantidadeSistemas(); ++i)
    if (CString(kSistemas[i - 1].codigo).CompareNoCase(codigo) == 0) return i;
  return -1;
}

int QVGetIndiceSistemaPorNumero(int numero) {
  for (int i = 1; i <= QVGetQuantidadeSistemas(); ++i)
    if (kSistemas[i - 1].numero == numero) return i;
  return -1;
}
