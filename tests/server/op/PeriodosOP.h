// A month of a company's production-order period files, written byte by byte for the tests of the
// order handler: orders with their processes (inputs, planned resources, simple reports) and items;
// production reports with their resources not reported, resource reports and their operations,
// movements and returns; requirements. The offsets are written here by hand from the record
// layouts; nothing is taken from the handler's own declarations, so a wrong offset there shows.
//
// Lists are runs of consecutive records, as the handler writes them: a record keeps the number of
// its run's first record and the run's length (0 and 0 for an empty list). Record 0 of every file
// is the zero header. Unlisted bytes are 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/server/EmpresaAtualizacao.h"

struct GradeTeste {
  uint16_t us1 = 0, us2 = 0, us3 = 0;
};

struct InsumoTeste {
  uint32_t produto = 0;
  GradeTeste grade{};
};

struct ProcessoTeste {
  int32_t processo = 0;
  std::vector<InsumoTeste> insumos{};
  std::vector<int32_t> recursos{};   // PPRP
  std::vector<int32_t> operacoes{};  // simple reports (PPAS)
};

struct ItemTeste {
  uint32_t produto = 0;
  GradeTeste grade{};
  char tipo = 'P';  // product or service
};

struct OrdemTeste {
  uint8_t situacao = 1;
  bool removida = false;
  int32_t fluxo = 0;
  int32_t colecao = 0;
  char tipo = 'P';  // the order's product or service
  uint32_t produto = 0;
  GradeTeste grade{};
  std::vector<ProcessoTeste> processos{};
  std::vector<ItemTeste> itens{};
};

struct MovimentoTeste {
  uint32_t produto = 0;
  GradeTeste grade{};
};

struct RecursoApontadoTeste {
  int32_t recurso = 0;
  std::vector<uint32_t> operacoes{};  // PPAO
};

struct ApontamentoTeste {
  bool excluido = false;
  int32_t operacao = 0;
  int32_t motivoRefugo = 0;
  std::vector<int32_t> recursosNaoApontados{};
  std::vector<RecursoApontadoTeste> recursos{};
  std::vector<MovimentoTeste> entradas{};
  std::vector<MovimentoTeste> refugo{};  // the scrap entry: none or one
  std::vector<MovimentoTeste> estoque{};
  std::vector<std::vector<MovimentoTeste>> retornos{};  // the stock movements of each return
  bool entradaPendente = false;                         // the entries stored, left for later (report kind 4)
};

struct NecessidadeTeste {
  uint32_t produto = 0;
  GradeTeste grade{};
  int32_t colecao = 0;
  bool removida = false;
};

class MesOP {
 public:
  explicit MesOP(uint16_t usMesAno);

  // Each appends its record and its lists and gives the record's number.
  uint32_t Ordem(const OrdemTeste& ordem);
  uint32_t Apontamento(const ApontamentoTeste& apontamento);
  uint32_t Necessidade(const NecessidadeTeste& necessidade);

  // Writes the order files (PPOP, PPPR, PPMT, PPRP, PPAS, PPIT) when the month has orders, the report
  // files (PPAP, PPAR, PPAO, PPME, PPRI) when it has reports, and PPNC when it has requirements.
  void Grava(const EmpresaTeste& empresa) const;

  // The month's file of a prefix: prefix, MMAA, ".DAT" (949 -> "PPOP0127.DAT").
  static std::string Nome(const char* prefixo, uint16_t usMesAno);

 private:
  // A record file in memory.
  struct Arquivo {
    const char* prefixo;
    uint32_t tamanho;
    std::vector<std::string> registros;

    uint32_t Novo();
    uint32_t Proximo() const { return static_cast<uint32_t>(registros.size()) + 1; }
    template <class T>
    void Poe(uint32_t registro, uint32_t deslocamento, T valor);
    void PoeGrade(uint32_t registro, uint32_t deslocamento, const GradeTeste& grade);
  };

  // Appends the list's records in order and gives the first one's number (0 for none).
  uint32_t Movimentos(const std::vector<MovimentoTeste>& movimentos);

  uint16_t usMesAno_;
  Arquivo op_{"PPOP", 256, {}}, pr_{"PPPR", 128, {}}, mt_{"PPMT", 128, {}}, rp_{"PPRP", 64, {}}, as_{"PPAS", 128, {}},
      it_{"PPIT", 90, {}};
  Arquivo ap_{"PPAP", 200, {}}, ar_{"PPAR", 64, {}}, ao_{"PPAO", 48, {}}, me_{"PPME", 104, {}}, ri_{"PPRI", 90, {}};
  Arquivo nc_{"PPNC", 128, {}};
};
