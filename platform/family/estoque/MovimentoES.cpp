#include "platform/family/estoque/MovimentoES.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <unordered_map>

#include "platform/family/comum/ConsultaFamilia.h"
#include "platform/family/estoque/ArmazemEstoque.h"
#include "platform/win32/clock.h"

namespace {

const char kLotes[] = "LOTES.DAT";
const char kVolumes[] = "VOLUMES.DAT";
const char kSaldos[] = "SALDOS.DAT";
const char kReservas[] = "RESERVAS.DAT";
const char kReposicao[] = "REPOSIC.DAT";

constexpr int32_t kTipoReservaOP = 2;
constexpr DWORD kErroRelogio = 1901;  // ERROR_INVALID_TIME
constexpr uint32_t kMaiorNumero = (1u << 20) - 1;  // what a key's 20 bits hold
constexpr uint16_t kPrimeiroDia = 28856;  // 01/01/1927
constexpr uint16_t kUltimoDia = 65380;    // 31/12/2026
const char kMarcaSaldos[8] = {'E', 'S', 'S', 'A', 'L', 'D', 'O', '1'};

// The header record of SALDOS.DAT: an identity drawn when the file is created, by which a process
// knows that the file it indexed is still the one it finds.
struct CabecalhoSaldos {
  char marca[8];
  uint64_t identidade;
  uint8_t reservado[48];
};
static_assert(sizeof(CabecalhoSaldos) == sizeof(SaldoGravadoES));

// Day numbers count from 31/12/1847 = 1; a month number is (year - 1848) x 12 + month.
int64_t DiasCivis(int64_t ano, int64_t mes, int64_t dia) {
  ano -= mes <= 2;
  const int64_t era = (ano >= 0 ? ano : ano - 399) / 400;
  const int64_t anoDaEra = ano - era * 400;
  const int64_t diaDoAno = (153 * (mes + (mes > 2 ? -3 : 9)) + 2) / 5 + dia - 1;
  return era * 146097 + anoDaEra * 365 + anoDaEra / 4 - anoDaEra / 100 + diaDoAno;
}

uint16_t NumeroDoDia(int ano, int mes, int dia) {
  return static_cast<uint16_t>(DiasCivis(ano, mes, dia) - DiasCivis(1847, 12, 31) + 1);
}

uint16_t MesDoDia(uint16_t numero) {
  const int64_t dias = numero - 1 + DiasCivis(1847, 12, 31) + 719468 - DiasCivis(1970, 1, 1);
  const int64_t era = dias / 146097;
  const int64_t diaDaEra = dias - era * 146097;
  const int64_t anoDaEra = (diaDaEra - diaDaEra / 1460 + diaDaEra / 36524 - diaDaEra / 146096) / 365;
  const int64_t diaDoAno = diaDaEra - (365 * anoDaEra + anoDaEra / 4 - anoDaEra / 100);
  const int64_t mp = (5 * diaDoAno + 2) / 153;
  const int64_t mes = mp < 10 ? mp + 3 : mp - 9;
  const int64_t ano = anoDaEra + era * 400 + (mes <= 2);
  return static_cast<uint16_t>((ano - 1848) * 12 + mes);
}

// Today and now on the platform's clock; a date outside the stored files' window is an error of
// the clock.
HRESULT Agora(uint16_t& dia, uint16_t& minutos) {
  SYSTEMTIME agora;
  GetLocalTime(&agora);
  if (agora.wYear < 1927 || agora.wYear > 2026) return HRESULT_FROM_WIN32(kErroRelogio);
  dia = NumeroDoDia(agora.wYear, agora.wMonth, agora.wDay);
  minutos = static_cast<uint16_t>(agora.wHour * 60 + agora.wMinute);
  return S_OK;
}

std::string Mes(const char* prefixo, uint16_t mes, const char* extensao) {
  char nome[16];
  std::snprintf(nome, sizeof nome, "%s%04u.%s", prefixo, static_cast<unsigned>(mes), extensao);
  return nome;
}

std::string Chave(const _REG_ES_CHAVE_SALDOPS& chave) {
  return std::string(reinterpret_cast<const char*>(&chave), sizeof chave);
}

std::string PosicaoFilial(const _REG_ES_CHAVE_SALDOPS& chave) {
  return std::string(reinterpret_cast<const char*>(&chave), offsetof(_REG_ES_CHAVE_SALDOPS, iPonteiroLocalArmazenagem));
}

_REG_ES_CHAVE_SALDOPS ChaveDoMovimento(const _REG_ES_MOVIMENTOPS& m) {
  _REG_ES_CHAVE_SALDOPS chave;
  std::memset(&chave, 0, sizeof chave);
  chave.regPosicaoProduto = m.regPosicaoProduto;
  chave.iPonteiroFilial = m.iPonteiroFilial;
  chave.iPonteiroLocalArmazenagem = m.iPonteiroLocalArmazenagem;
  chave.cTipoEstoque = m.cTipoEstoqueArmazenagem;
  chave.lPonteiroLote = m.lPonteiroLote;
  chave.lPonteiroForLote = m.lPonteiroForLote;
  chave.lPonteiroForEPTETPE = m.lPonteiroForEPTETPE;
  chave.lPonteiroCliEPTETPE = m.lPonteiroCliEPTETPE;
  chave.lPonteiroVolume = m.lPonteiroVolume;
  return chave;
}

// A key as stored: the inventory module's bytes and the padding cleared.
_REG_ES_CHAVE_SALDOPS Normaliza(_REG_ES_CHAVE_SALDOPS chave) {
  chave.cReservado15 = 0;
  std::memset(chave.cReservado36, 0, sizeof chave.cReservado36);
  return chave;
}

// A request's non-zero fields beyond position and branch against a balance's.
bool Atende(const _REG_ES_CHAVE_SALDOPS& pedido, uint16_t local, int32_t lote, int32_t forLote, int32_t forEPT,
            int32_t cliEPT, int32_t volume) {
  return (pedido.iPonteiroLocalArmazenagem == 0 || pedido.iPonteiroLocalArmazenagem == local) &&
         (pedido.lPonteiroLote == 0 || pedido.lPonteiroLote == lote) &&
         (pedido.lPonteiroForLote == 0 || pedido.lPonteiroForLote == forLote) &&
         (pedido.lPonteiroForEPTETPE == 0 || pedido.lPonteiroForEPTETPE == forEPT) &&
         (pedido.lPonteiroCliEPTETPE == 0 || pedido.lPonteiroCliEPTETPE == cliEPT) &&
         (pedido.lPonteiroVolume == 0 || pedido.lPonteiroVolume == volume);
}

// Each process's index of the balances of a directory: where each key's record lies, by key, by
// position and branch, and by branch. Records never move and a key's record is never reused, so
// the index only grows with the file; it holds no quantity, which every call reads fresh.
struct IndiceSaldos {
  uint64_t identidade = 0;
  uint32_t registros = 0;  // records 1 .. registros are indexed
  std::unordered_map<std::string, uint32_t> porChave;
  std::unordered_map<std::string, std::vector<uint32_t>> porPosicao;
  std::unordered_map<uint16_t, std::vector<uint32_t>> porFilial;
};

std::mutex mutexIndices;
std::map<std::string, IndiceSaldos> indices;

// Under a hold of the store: brings the index up to the file and runs `usa` with it.
template <class Uso>
HRESULT ComIndice(ArmazemEstoque::Leitura& leitura, const std::string& diretorio, Uso&& usa) {
  std::lock_guard<std::mutex> lock(mutexIndices);
  IndiceSaldos& indice = indices[diretorio];
  uint64_t tamanho = 0;
  if (const HRESULT hr = leitura.Tamanho(kSaldos, tamanho); FAILED(hr)) return hr;
  if (tamanho % sizeof(SaldoGravadoES) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  uint64_t identidade = 0;
  if (tamanho > 0) {
    CabecalhoSaldos cabecalho;
    if (const HRESULT hr = leitura.LeTrecho(kSaldos, 0, sizeof cabecalho, &cabecalho); FAILED(hr)) return hr;
    if (std::memcmp(cabecalho.marca, kMarcaSaldos, sizeof kMarcaSaldos) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    identidade = cabecalho.identidade;
  }
  const uint32_t registros = tamanho == 0 ? 0 : static_cast<uint32_t>(tamanho / sizeof(SaldoGravadoES) - 1);
  if (identidade != indice.identidade || registros < indice.registros) {
    indice = IndiceSaldos();
    indice.identidade = identidade;
  }
  if (registros > indice.registros) {
    std::vector<SaldoGravadoES> novos(registros - indice.registros);
    if (const HRESULT hr = leitura.LeTrecho(kSaldos, (uint64_t{indice.registros} + 1) * sizeof(SaldoGravadoES),
                                            static_cast<uint32_t>(novos.size() * sizeof(SaldoGravadoES)), novos.data());
        FAILED(hr))
      return hr;
    for (const SaldoGravadoES& saldo : novos) {
      const uint32_t registro = ++indice.registros;
      indice.porChave.emplace(Chave(saldo.regChave), registro);
      indice.porPosicao[PosicaoFilial(saldo.regChave)].push_back(registro);
      indice.porFilial[saldo.regChave.iPonteiroFilial].push_back(registro);
    }
  }
  return usa(static_cast<const IndiceSaldos&>(indice));
}

uint64_t PosicaoSaldo(uint32_t registro) { return uint64_t{registro} * sizeof(SaldoGravadoES); }

// Within a change: adds `quantidade` to the balance of `chave` (or sets it), appending the key's
// record when the file does not hold it yet; `novos` keeps the records that this change appends.
class MudancaSaldos {
 public:
  MudancaSaldos(ArmazemEstoque::Alteracao& alteracao, const std::string& diretorio)
      : alteracao_(alteracao), diretorio_(diretorio) {}

  HRESULT Move(const _REG_ES_CHAVE_SALDOPS& chaveDada, CY quantidade, bool define, uint32_t& registro) {
    const _REG_ES_CHAVE_SALDOPS chave = Normaliza(chaveDada);
    if (!lido_) {
      if (const HRESULT hr = ComIndice(alteracao_, diretorio_, [&](const IndiceSaldos& indice) {
            registros_ = indice.registros;
            identidade_ = indice.identidade;
            indice_ = &indice.porChave;  // stays valid: the process's indexes change only under the hold
            return S_OK;
          });
          FAILED(hr))
        return hr;
      lido_ = true;
    }
    SaldoGravadoES saldo;
    if (const auto novo = novos_.find(Chave(chave)); novo != novos_.end()) {
      registro = novo->second.first;
      saldo = novo->second.second;
    } else if (const auto achado = indice_->find(Chave(chave)); achado != indice_->end()) {
      registro = achado->second;
      if (const HRESULT hr = alteracao_.LeTrecho(kSaldos, PosicaoSaldo(registro), sizeof saldo, &saldo); FAILED(hr))
        return hr;
    } else {
      if (registros_ == 0 && identidade_ == 0 && novos_.empty()) {
        CabecalhoSaldos cabecalho{};
        std::memcpy(cabecalho.marca, kMarcaSaldos, sizeof kMarcaSaldos);
        std::random_device acaso;
        cabecalho.identidade = (uint64_t{acaso()} << 32 | acaso()) | 1;
        alteracao_.Escreve(kSaldos, 0, &cabecalho, sizeof cabecalho);
      }
      registro = registros_ + static_cast<uint32_t>(novos_.size()) + 1;
      std::memset(&saldo, 0, sizeof saldo);
      saldo.regChave = chave;
    }
    saldo.vQuantidade.int64 = define ? quantidade.int64 : saldo.vQuantidade.int64 + quantidade.int64;
    novos_[Chave(chave)] = {registro, saldo};
    alteracao_.Escreve(kSaldos, PosicaoSaldo(registro), &saldo, sizeof saldo);
    return S_OK;
  }

 private:
  ArmazemEstoque::Alteracao& alteracao_;
  const std::string& diretorio_;
  bool lido_ = false;
  uint32_t registros_ = 0;
  uint64_t identidade_ = 0;
  const std::unordered_map<std::string, uint32_t>* indice_ = nullptr;
  std::map<std::string, std::pair<uint32_t, SaldoGravadoES>> novos_;  // this change's, by key
};

// The record at `ponteiro` (from 1) of a file of fixed records.
template <class Registro>
HRESULT LeNaPosicao(ArmazemEstoque::Leitura& leitura, const std::string& arquivo, int64_t ponteiro, Registro& registro) {
  if (ponteiro < 1) return kFamiliaNaoEncontrado;
  const HRESULT hr = leitura.LeTrecho(arquivo, uint64_t(ponteiro - 1) * sizeof(Registro), sizeof(Registro), &registro);
  return hr == HRESULT_FROM_WIN32(ERROR_HANDLE_EOF) ? kFamiliaNaoEncontrado : hr;
}

template <class Registro>
HRESULT LeTodos(ArmazemEstoque::Leitura& leitura, const std::string& arquivo, std::vector<Registro>& registros) {
  std::vector<uint8_t> bytes;
  if (const HRESULT hr = leitura.LeTudo(arquivo, bytes); FAILED(hr)) return hr;
  if (bytes.size() % sizeof(Registro) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
  registros.resize(bytes.size() / sizeof(Registro));
  if (!bytes.empty()) std::memcpy(static_cast<void*>(registros.data()), bytes.data(), bytes.size());
  return S_OK;
}

// Finds the record that `igual` accepts in a file of fixed records, or appends `novo`: its pointer.
template <class Registro, class Igual>
HRESULT AchaOuAcrescenta(ArmazemEstoque::Alteracao& alteracao, const char* arquivo, const Registro& novo, Igual&& igual,
                         int32_t& ponteiro) {
  std::vector<Registro> registros;
  if (const HRESULT hr = LeTodos(alteracao, arquivo, registros); FAILED(hr)) return hr;
  for (size_t i = 0; i < registros.size(); ++i) {
    if (igual(registros[i])) {
      ponteiro = static_cast<int32_t>(i + 1);
      return S_OK;
    }
  }
  alteracao.Escreve(arquivo, registros.size() * sizeof(Registro), &novo, sizeof novo);
  ponteiro = static_cast<int32_t>(registros.size() + 1);
  return S_OK;
}

bool TemLote(const _REG_ES_LOTEPS& lote) {
  return lote.cNumeroLote[0] != 0 || lote.iDataFabricacao != 0 || lote.iDataValidade != 0 || lote.iNumeroDias != 0;
}

// What a movement carries besides its record, in MVmmmm.ANX: its text (length and bytes), each
// accounting entry followed by its management entries, the composition, the references.
template <class T>
void Acrescenta(std::vector<uint8_t>& anexo, const T* itens, size_t quantidade) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(itens);
  anexo.insert(anexo.end(), bytes, bytes + quantidade * sizeof(T));
}

HRESULT MontaAnexo(const _REG_ES_MOVIMENTOPS& m, const std::string& texto, std::vector<uint8_t>& anexo) {
  if ((m.iQuantidadeContabil && !m.pregContabil) || (m.iQtdItensComposicao && !m.pregComposicao) ||
      (m.iQtdMovsReferencia && !m.pregMovReferencia))
    return E_POINTER;
  const auto tamanhoTexto = static_cast<uint32_t>(texto.size());
  Acrescenta(anexo, &tamanhoTexto, 1);
  anexo.insert(anexo.end(), texto.begin(), texto.end());
  for (uint16_t i = 0; i < m.iQuantidadeContabil; ++i) {
    _REG_ES_CONTABILIZACAOPS lancamento = m.pregContabil[i];
    if (lancamento.iQuantidadeGerencial && !lancamento.pregGerencial) return E_POINTER;
    const _REG_ES_GERENCIALPS* gerenciais = lancamento.pregGerencial;
    lancamento.pregGerencial = nullptr;
    Acrescenta(anexo, &lancamento, 1);
    Acrescenta(anexo, gerenciais, lancamento.iQuantidadeGerencial);
  }
  Acrescenta(anexo, m.pregComposicao, m.iQtdItensComposicao);
  Acrescenta(anexo, m.pregMovReferencia, m.iQtdMovsReferencia);
  return S_OK;
}

// A block of the task allocator holding `quantidade` records of the attachment from `posicao`.
template <class T>
bool CopiaDoAnexo(const std::vector<uint8_t>& anexo, size_t& posicao, size_t quantidade, T*& bloco) {
  bloco = nullptr;
  if (quantidade == 0) return true;
  if (anexo.size() - posicao < quantidade * sizeof(T)) return false;
  bloco = static_cast<T*>(CoTaskMemAlloc(quantidade * sizeof(T)));
  if (!bloco) return false;
  std::memcpy(static_cast<void*>(bloco), anexo.data() + posicao, quantidade * sizeof(T));
  posicao += quantidade * sizeof(T);
  return true;
}

void LiberaArrays(_REG_ES_MOVIMENTOPS& m) {
  if (m.pregContabil)
    for (uint16_t i = 0; i < m.iQuantidadeContabil; ++i) CoTaskMemFree(m.pregContabil[i].pregGerencial);
  CoTaskMemFree(m.pregContabil);
  CoTaskMemFree(m.pregComposicao);
  CoTaskMemFree(m.pregMovReferencia);
  m.pregContabil = nullptr;
  m.pregComposicao = nullptr;
  m.pregMovReferencia = nullptr;
}

// The record with its arrays, each in its own block, from its stored form; false when a block
// cannot be had or the attachment is short (then nothing stays allocated).
bool MontaArrays(const std::vector<uint8_t>& anexo, _REG_ES_MOVIMENTOPS& m) {
  m.pregContabil = nullptr;
  m.pregComposicao = nullptr;
  m.pregMovReferencia = nullptr;
  size_t posicao = 0;
  uint32_t tamanhoTexto = 0;
  if (anexo.size() < sizeof tamanhoTexto) return false;
  std::memcpy(&tamanhoTexto, anexo.data(), sizeof tamanhoTexto);
  posicao = sizeof tamanhoTexto + tamanhoTexto;
  if (posicao > anexo.size()) return false;
  bool inteiro = true;
  if (m.iQuantidadeContabil) {
    m.pregContabil = static_cast<_REG_ES_CONTABILIZACAOPS*>(
        CoTaskMemAlloc(m.iQuantidadeContabil * sizeof(_REG_ES_CONTABILIZACAOPS)));
    inteiro = m.pregContabil != nullptr;
    if (inteiro) std::memset(static_cast<void*>(m.pregContabil), 0, m.iQuantidadeContabil * sizeof(_REG_ES_CONTABILIZACAOPS));
    for (uint16_t i = 0; inteiro && i < m.iQuantidadeContabil; ++i) {
      _REG_ES_CONTABILIZACAOPS lancamento;
      if (anexo.size() - posicao < sizeof lancamento) {
        inteiro = false;
        break;
      }
      std::memcpy(&lancamento, anexo.data() + posicao, sizeof lancamento);
      posicao += sizeof lancamento;
      _REG_ES_GERENCIALPS* gerenciais = nullptr;
      inteiro = CopiaDoAnexo(anexo, posicao, lancamento.iQuantidadeGerencial, gerenciais);
      lancamento.pregGerencial = gerenciais;
      m.pregContabil[i] = lancamento;
    }
  }
  inteiro = inteiro && CopiaDoAnexo(anexo, posicao, m.iQtdItensComposicao, m.pregComposicao) &&
            CopiaDoAnexo(anexo, posicao, m.iQtdMovsReferencia, m.pregMovReferencia);
  if (!inteiro) LiberaArrays(m);
  return inteiro;
}

_REG_ES_SALDOS_PRODUTOSPS SaldoParaLista(const SaldoGravadoES& gravado) {
  _REG_ES_SALDOS_PRODUTOSPS saldo;
  std::memset(&saldo, 0, sizeof saldo);
  std::memcpy(&saldo, &gravado.regChave, sizeof gravado.regChave);
  saldo.vQuantidade.int64 = gravado.vQuantidade.int64;
  return saldo;
}

}  // namespace

int SinalTipoMovimentoES(uint8_t cTipoMovimento) {
  if (cTipoMovimento < 1 || cTipoMovimento > 18) return 0;
  return cTipoMovimento % 2 == 1 ? 1 : -1;
}

HRESULT GravaSaldosIniciaisES(const std::string& empresa, const std::vector<SaldoInicialES>& saldos) {
  const std::string diretorio = DiretorioModuloEmpresa(empresa, "ES");
  if (diretorio.empty()) return kFamiliaSemDiretorio;
  return ArmazemEstoque(diretorio).Altera([&](ArmazemEstoque::Alteracao& alteracao) -> HRESULT {
    MudancaSaldos mudanca(alteracao, diretorio);
    for (const SaldoInicialES& saldo : saldos) {
      uint32_t registro = 0;
      if (const HRESULT hr = mudanca.Move(saldo.regChave, saldo.vQuantidade, true, registro); FAILED(hr)) return hr;
    }
    return S_OK;
  });
}

HRESULT QVES_Movimento::GravaMovimento(int32_t lOpcao, _REG_ES_MOVIMENTOPS regMovimento, BSTR bsTexto,
                                       uint32_t* pulNumero) {
  if (const HRESULT hr = Entrada("GravaMovimento"); FAILED(hr)) return hr;
  if (!pulNumero) return E_POINTER;
  const int sinal = SinalTipoMovimentoES(regMovimento.cTipoMovimento);
  if (lOpcao != 0 || sinal == 0 || regMovimento.regPosicaoProduto.lPonteiroProduto == 0 ||
      regMovimento.iPonteiroFilial == 0)
    return E_INVALIDARG;
  std::vector<uint8_t> anexo;
  if (const HRESULT hr = MontaAnexo(regMovimento, TextoFamilia(bsTexto), anexo); FAILED(hr)) return hr;

  // The server's fields: the date (today when none), the time, the inclusion.
  uint16_t hoje = 0;
  uint16_t agora = 0;
  if (const HRESULT hr = Agora(hoje, agora); FAILED(hr)) return hr;
  _REG_ES_MOVIMENTOPS m = regMovimento;
  if (m.iDataMovimento == 0) m.iDataMovimento = hoje;
  if (m.iDataMovimento < kPrimeiroDia || m.iDataMovimento > kUltimoDia) return E_INVALIDARG;
  if (m.iHoraMovimento == 0) m.iHoraMovimento = agora;
  m.iDataInclusao = hoje;
  m.iHoraInclusao = agora;
  m.iUsuarioInclusao = Sessao().usuario;
  m.pregContabil = nullptr;
  m.pregComposicao = nullptr;
  m.pregMovReferencia = nullptr;
  const uint16_t mes = MesDoDia(m.iDataMovimento);
  const std::string movimentos = Mes("MV", mes, "DAT");
  const std::string anexos = Mes("MV", mes, "ANX");
  const std::string& diretorio = Sessao().diretorio;

  uint32_t numero = 0;
  const HRESULT hr = ArmazemEstoque(diretorio).Altera([&](ArmazemEstoque::Alteracao& alteracao) -> HRESULT {
    uint64_t tamanho = 0;
    if (const HRESULT hr = alteracao.Tamanho(movimentos, tamanho); FAILED(hr)) return hr;
    if (tamanho % sizeof(MovimentoGravadoES) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    numero = static_cast<uint32_t>(tamanho / sizeof(MovimentoGravadoES) + 1);
    if (numero > kMaiorNumero) return HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL);

    if (TemLote(m.regLotePS)) {
      const _REG_ES_LOTEPS lote = m.regLotePS;
      int32_t ponteiroLote = m.lPonteiroLote;  // m is packed: its fields are not bound to references
      if (const HRESULT hr = AchaOuAcrescenta(
              alteracao, kLotes, lote,
              [&](const _REG_ES_LOTEPS& existente) {
                return lote.cNumeroLote[0] != 0
                           ? strncmp(existente.cNumeroLote, lote.cNumeroLote, sizeof lote.cNumeroLote) == 0
                           : std::memcmp(&existente, &lote, sizeof lote) == 0;
              },
              ponteiroLote);
          FAILED(hr))
        return hr;
      m.lPonteiroLote = ponteiroLote;
    } else if (m.lPonteiroLote != 0) {
      _REG_ES_LOTEPS lote;
      if (const HRESULT hr = LeNaPosicao(alteracao, kLotes, m.lPonteiroLote, lote); FAILED(hr)) return hr;
    }
    if (m.regVolumePS.cVolume[0] != 0) {
      const _REG_ES_VOLUMEPS volume = m.regVolumePS;
      int32_t ponteiroVolume = m.lPonteiroVolume;
      if (const HRESULT hr = AchaOuAcrescenta(
              alteracao, kVolumes, volume,
              [&](const _REG_ES_VOLUMEPS& existente) {
                return strncmp(existente.cVolume, volume.cVolume, sizeof volume.cVolume) == 0;
              },
              ponteiroVolume);
          FAILED(hr))
        return hr;
      m.lPonteiroVolume = ponteiroVolume;
    } else if (m.lPonteiroVolume != 0) {
      _REG_ES_VOLUMEPS volume;
      if (const HRESULT hr = LeNaPosicao(alteracao, kVolumes, m.lPonteiroVolume, volume); FAILED(hr)) return hr;
    }

    MovimentoGravadoES gravado;
    std::memset(&gravado, 0, sizeof gravado);
    gravado.vMovido.int64 = sinal * m.vQuantidade.int64;
    MudancaSaldos saldos(alteracao, diretorio);
    CY movido;
    movido.int64 = gravado.vMovido.int64;
    uint32_t registroSaldo = 0;
    if (const HRESULT hr = saldos.Move(ChaveDoMovimento(m), movido, false, registroSaldo); FAILED(hr)) return hr;
    gravado.ulRegistroSaldo = registroSaldo;

    uint64_t fimAnexos = 0;
    if (const HRESULT hr = alteracao.Tamanho(anexos, fimAnexos); FAILED(hr)) return hr;
    m.lPosicao = static_cast<int32_t>(numero);
    gravado.regMovimento = m;
    gravado.ulPosicaoAnexo = static_cast<uint32_t>(fimAnexos);
    gravado.ulTamanhoAnexo = static_cast<uint32_t>(anexo.size());
    alteracao.Escreve(anexos, fimAnexos, anexo.data(), static_cast<uint32_t>(anexo.size()));
    alteracao.Escreve(movimentos, tamanho, &gravado, sizeof gravado);
    return S_OK;
  });
  if (FAILED(hr)) return hr;
  *pulNumero = numero;
  return S_OK;
}

HRESULT QVES_Movimento::LeMovimento(uint32_t ulChave, _REG_ES_MOVIMENTOPS* pregMovimento) {
  if (const HRESULT hr = Entrada("LeMovimento"); FAILED(hr)) return hr;
  if (!pregMovimento) return E_POINTER;
  const uint16_t mes = static_cast<uint16_t>(ulChave & 0xFFF);
  return ArmazemEstoque(Sessao().diretorio).Le([&](ArmazemEstoque::Leitura& leitura) -> HRESULT {
    MovimentoGravadoES gravado;
    if (const HRESULT hr = LeNaPosicao(leitura, Mes("MV", mes, "DAT"), ulChave >> 12, gravado); FAILED(hr)) return hr;
    if (gravado.cRemovido) return kFamiliaNaoEncontrado;
    std::vector<uint8_t> anexo(gravado.ulTamanhoAnexo);
    if (const HRESULT hr = leitura.LeTrecho(Mes("MV", mes, "ANX"), gravado.ulPosicaoAnexo, gravado.ulTamanhoAnexo,
                                            anexo.data());
        FAILED(hr))
      return hr;
    _REG_ES_MOVIMENTOPS movimento = gravado.regMovimento;
    if (!MontaArrays(anexo, movimento)) return E_OUTOFMEMORY;
    *pregMovimento = movimento;
    return S_OK;
  });
}

HRESULT QVES_Movimento::RemoveMovimento(uint32_t ulNumero, uint16_t usMesAno) {
  if (const HRESULT hr = Entrada("RemoveMovimento"); FAILED(hr)) return hr;
  const std::string movimentos = Mes("MV", usMesAno, "DAT");
  return ArmazemEstoque(Sessao().diretorio).Altera([&](ArmazemEstoque::Alteracao& alteracao) -> HRESULT {
    MovimentoGravadoES gravado;
    if (const HRESULT hr = LeNaPosicao(alteracao, movimentos, ulNumero, gravado); FAILED(hr)) return hr;
    if (gravado.cRemovido) return kFamiliaNaoEncontrado;
    SaldoGravadoES saldo;
    if (const HRESULT hr = alteracao.LeTrecho(kSaldos, PosicaoSaldo(gravado.ulRegistroSaldo), sizeof saldo, &saldo);
        FAILED(hr))
      return hr;
    saldo.vQuantidade.int64 -= gravado.vMovido.int64;
    gravado.cRemovido = 1;
    alteracao.Escreve(kSaldos, PosicaoSaldo(gravado.ulRegistroSaldo), &saldo, sizeof saldo);
    alteracao.Escreve(movimentos, uint64_t(ulNumero - 1) * sizeof gravado, &gravado, sizeof gravado);
    return S_OK;
  });
}

HRESULT QVES_Movimento::LeLote(int32_t lPonteiro, _REG_ES_LOTEPS* pregLote) {
  if (const HRESULT hr = Entrada("LeLote"); FAILED(hr)) return hr;
  if (!pregLote) return E_POINTER;
  return ArmazemEstoque(Sessao().diretorio).Le([&](ArmazemEstoque::Leitura& leitura) {
    return LeNaPosicao(leitura, kLotes, lPonteiro, *pregLote);
  });
}

HRESULT QVES_Movimento::LeVolume(int32_t lPonteiro, _REG_ES_VOLUMEPS* pregVolume) {
  if (const HRESULT hr = Entrada("LeVolume"); FAILED(hr)) return hr;
  if (!pregVolume) return E_POINTER;
  return ArmazemEstoque(Sessao().diretorio).Le([&](ArmazemEstoque::Leitura& leitura) {
    return LeNaPosicao(leitura, kVolumes, lPonteiro, *pregVolume);
  });
}

HRESULT QVES_Movimento::LeSaldosProdutos(_REG_ES_FILTRO_SALDOS_PRODUTOPS regFiltro,
                                         _REG_ES_LISTA_SALDOS_PRODUTOSPS* pregLista) {
  if (const HRESULT hr = Entrada("LeSaldosProdutos"); FAILED(hr)) return hr;
  if (!pregLista) return E_POINTER;
  std::vector<_REG_ES_SALDOS_PRODUTOSPS> lista;
  const HRESULT hr = ArmazemEstoque(Sessao().diretorio).Le([&](ArmazemEstoque::Leitura& leitura) -> HRESULT {
    std::vector<SaldoGravadoES> saldos;
    if (const HRESULT hr = LeTodos(leitura, kSaldos, saldos); FAILED(hr)) return hr;
    for (size_t i = 1; i < saldos.size(); ++i)
      if (regFiltro.iFilial == 0 || saldos[i].regChave.iPonteiroFilial == regFiltro.iFilial)
        lista.push_back(SaldoParaLista(saldos[i]));
    return S_OK;
  });
  if (FAILED(hr)) return hr;
  _REG_ES_SALDOS_PRODUTOSPS* array = nullptr;
  if (!CopiaParaTarefaFamilia(lista, &array)) return E_OUTOFMEMORY;
  pregLista->lQuantidade = static_cast<int32_t>(lista.size());
  pregLista->pregSaldos = array;
  return S_OK;
}

HRESULT QVES_Movimento::QuantidadeSaldosFilial(uint16_t usFilial, uint32_t* pulQtd) {
  if (const HRESULT hr = Entrada("QuantidadeSaldosFilial"); FAILED(hr)) return hr;
  if (!pulQtd) return E_POINTER;
  if (usFilial == 0) return E_INVALIDARG;
  const std::string& diretorio = Sessao().diretorio;
  return ArmazemEstoque(diretorio).Le([&](ArmazemEstoque::Leitura& leitura) {
    return ComIndice(leitura, diretorio, [&](const IndiceSaldos& indice) {
      const auto filial = indice.porFilial.find(usFilial);
      *pulQtd = filial == indice.porFilial.end() ? 0 : static_cast<uint32_t>(filial->second.size());
      return S_OK;
    });
  });
}

HRESULT QVES_Movimento::LeSaldosFilial(uint16_t usFilial, uint32_t ulQtd, _REG_ES_SALDOS_PRODUTOSPS* pregSaldos) {
  if (const HRESULT hr = Entrada("LeSaldosFilial"); FAILED(hr)) return hr;
  if (!pregSaldos && ulQtd != 0) return E_POINTER;
  if (usFilial == 0) return E_INVALIDARG;
  const std::string& diretorio = Sessao().diretorio;
  return ArmazemEstoque(diretorio).Le([&](ArmazemEstoque::Leitura& leitura) -> HRESULT {
    std::vector<uint32_t> registros;
    if (const HRESULT hr = ComIndice(leitura, diretorio,
                                     [&](const IndiceSaldos& indice) {
                                       const auto filial = indice.porFilial.find(usFilial);
                                       if (filial != indice.porFilial.end()) registros = filial->second;
                                       return S_OK;
                                     });
        FAILED(hr))
      return hr;
    // A count taken before another process added a balance is refused rather than answered in part.
    if (registros.size() != ulQtd) return E_INVALIDARG;
    std::vector<SaldoGravadoES> saldos;
    if (const HRESULT hr = LeTodos(leitura, kSaldos, saldos); FAILED(hr)) return hr;
    for (uint32_t i = 0; i < ulQtd; ++i) {
      if (registros[i] >= saldos.size()) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
      pregSaldos[i] = SaldoParaLista(saldos[registros[i]]);
    }
    return S_OK;
  });
}

HRESULT QVES_Movimento::LeSaldoPosicao(_REG_ES_CHAVE_SALDOPS regChave, _REG_ES_SALDO_POSICAOPS* pregSaldo,
                                       int32_t lReservado1, int32_t lReservado2) {
  if (const HRESULT hr = Entrada("LeSaldoPosicao"); FAILED(hr)) return hr;
  if (!pregSaldo) return E_POINTER;
  if (lReservado1 != 0 || lReservado2 != 0 || regChave.regPosicaoProduto.lPonteiroProduto == 0 ||
      regChave.iPonteiroFilial == 0)
    return E_INVALIDARG;
  _REG_ES_SALDO_POSICAOPS resposta;
  std::memset(&resposta, 0, sizeof resposta);
  resposta.regPosicaoProduto = regChave.regPosicaoProduto;
  resposta.iPonteiroFilial = regChave.iPonteiroFilial;
  const std::string& diretorio = Sessao().diretorio;
  const HRESULT hr = ArmazemEstoque(diretorio).Le([&](ArmazemEstoque::Leitura& leitura) -> HRESULT {
    std::vector<uint32_t> registros;
    if (const HRESULT hr = ComIndice(leitura, diretorio,
                                     [&](const IndiceSaldos& indice) {
                                       const auto posicao = indice.porPosicao.find(PosicaoFilial(regChave));
                                       if (posicao != indice.porPosicao.end()) registros = posicao->second;
                                       return S_OK;
                                     });
        FAILED(hr))
      return hr;
    for (const uint32_t registro : registros) {
      SaldoGravadoES saldo;
      if (const HRESULT hr = leitura.LeTrecho(kSaldos, PosicaoSaldo(registro), sizeof saldo, &saldo); FAILED(hr))
        return hr;
      const _REG_ES_CHAVE_SALDOPS& c = saldo.regChave;
      if (!Atende(regChave, c.iPonteiroLocalArmazenagem, c.lPonteiroLote, c.lPonteiroForLote, c.lPonteiroForEPTETPE,
                  c.lPonteiroCliEPTETPE, c.lPonteiroVolume) ||
          c.cTipoEstoque >= 8)
        continue;
      resposta.vSaldoTipoEstoque[c.cTipoEstoque].int64 += saldo.vQuantidade.int64;
    }
    std::vector<ReservaGravadaES> reservas;
    if (const HRESULT hr = LeTodos(leitura, kReservas, reservas); FAILED(hr)) return hr;
    for (const ReservaGravadaES& gravada : reservas) {
      const _REG_ES_RESERVAPS& r = gravada.regReserva;
      if (gravada.iPonteiroFilial == regChave.iPonteiroFilial &&
          std::memcmp(&r.regPosicaoProduto, &regChave.regPosicaoProduto, sizeof r.regPosicaoProduto) == 0 &&
          Atende(regChave, r.iPonteiroLocalArmazenagem, r.lPonteiroLote, r.lPonteiroForLote, r.lPonteiroForEPTETPE,
                 r.lPonteiroCliEPTETPE, r.lPonteiroVolume))
        resposta.vQuantidadeReservada.int64 += r.vQuantidade.int64;
    }
    return S_OK;
  });
  if (FAILED(hr)) return hr;
  resposta.vSaldoTipoEstoque0.int64 = resposta.vSaldoTipoEstoque[0].int64;
  resposta.vSaldoTipoEstoque2.int64 = resposta.vSaldoTipoEstoque[2].int64;
  *pregSaldo = resposta;
  return S_OK;
}

HRESULT QVES_Movimento::GravaReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial, uint32_t ulQtd,
                                      const _REG_ES_RESERVAPS* pregReservas) {
  if (const HRESULT hr = Entrada("GravaReservas"); FAILED(hr)) return hr;
  if (lTipo != kTipoReservaOP || ulChave == 0 || usFilial == 0) return E_INVALIDARG;
  if (ulQtd != 0 && !pregReservas) return E_POINTER;
  if (ulQtd == 0) return S_OK;
  return ArmazemEstoque(Sessao().diretorio).Altera([&](ArmazemEstoque::Alteracao& alteracao) -> HRESULT {
    uint64_t tamanho = 0;
    if (const HRESULT hr = alteracao.Tamanho(kReservas, tamanho); FAILED(hr)) return hr;
    if (tamanho % sizeof(ReservaGravadaES) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_INVALID);
    std::vector<ReservaGravadaES> novas(ulQtd);
    for (uint32_t i = 0; i < ulQtd; ++i) novas[i] = {ulChave, lTipo, usFilial, pregReservas[i]};
    alteracao.Escreve(kReservas, tamanho, novas.data(), static_cast<uint32_t>(novas.size() * sizeof(ReservaGravadaES)));
    return S_OK;
  });
}

HRESULT QVES_Movimento::RemoveReservas(uint32_t ulChave, int32_t lTipo, uint16_t usFilial) {
  if (const HRESULT hr = Entrada("RemoveReservas"); FAILED(hr)) return hr;
  if (lTipo != kTipoReservaOP || ulChave == 0 || usFilial == 0) return E_INVALIDARG;
  return ArmazemEstoque(Sessao().diretorio).Altera([&](ArmazemEstoque::Alteracao& alteracao) -> HRESULT {
    std::vector<ReservaGravadaES> reservas;
    if (const HRESULT hr = LeTodos(alteracao, kReservas, reservas); FAILED(hr)) return hr;
    std::vector<ReservaGravadaES> ficam;
    for (const ReservaGravadaES& r : reservas)
      if (r.ulChave != ulChave || r.lTipo != lTipo || r.iPonteiroFilial != usFilial) ficam.push_back(r);
    if (ficam.size() == reservas.size()) return S_OK;
    if (!ficam.empty())
      alteracao.Escreve(kReservas, 0, ficam.data(), static_cast<uint32_t>(ficam.size() * sizeof(ReservaGravadaES)));
    alteracao.DefineTamanho(kReservas, ficam.size() * sizeof(ReservaGravadaES));
    return S_OK;
  });
}

HRESULT QVES_Movimento::LeLoteReposicao(_REG_POSICAO_PRODUTOPS regPosicao, CY* pvLoteReposicao) {
  if (const HRESULT hr = Entrada("LeLoteReposicao"); FAILED(hr)) return hr;
  if (!pvLoteReposicao) return E_POINTER;
  std::vector<LoteReposicaoES> lotes;
  if (const HRESULT hr = LeTodosFamilia(TabelaFamilia(Sessao().diretorio + kReposicao, sizeof(LoteReposicaoES)), lotes);
      FAILED(hr))
    return hr;
  for (const LoteReposicaoES& lote : lotes) {
    if (std::memcmp(&lote.regPosicaoProduto, &regPosicao, sizeof regPosicao) == 0) {
      pvLoteReposicao->int64 = lote.vLoteReposicao.int64;
      return S_OK;
    }
  }
  return kFamiliaNaoEncontrado;
}
