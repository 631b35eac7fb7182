// The foundation's error object: a message number of a system's catalogue (or a ready text), the
// system whose catalogue and title it uses, and an operating-system error code. The text is looked
// up on demand and kept. Thrown by value, caught by reference.
#pragma once

#include "platform/mfc/CException.h"
#include "platform/mfc/CString.h"

class CQVException : public CException {
 public:
  CQVException(int numero, int sistema, int erroSO);
  CQVException(const char* texto, int sistema, int erroSO);

  BOOL GetErrorMessage(char* buffer, UINT size, UINT* helpContext = nullptr) const override;
  // Title: the system's title; text: the catalogue text or "Erro desconhecido encontrado. Código
  // (%d)", followed by the operating system's text of erroSO. Adds the exclamation icon when the
  // style has no icon.
  int ReportError(UINT style = 0, UINT helpId = 0) const override;
  virtual CString GetTexto() const;

  int GetNumero() const { return m_numero; }
  int GetSistema() const { return m_sistema; }
  int GetErroSO() const { return m_erroSO; }

 private:
  int m_numero;
  int m_sistema;
  int m_erroSO;
  mutable CString m_texto;
};

// Six values carried for callers of the family; nothing in the module creates it.
class CQVExceptionEx {
 public:
  CQVExceptionEx(int32_t valor1, int32_t valor2, int32_t valor3, const char* texto1, const char* texto2,
                 int32_t valor4)
      : m_valor1(valor1), m_valor2(valor2), m_valor3(valor3), m_texto1(texto1), m_texto2(texto2), m_valor4(valor4) {}
  virtual ~CQVExceptionEx() = default;

  int32_t GetValor1() const { return m_valor1; }
  int32_t GetValor2() const { return m_valor2; }
  int32_t GetValor3() const { return m_valor3; }
  const CString& GetTexto1() const { return m_texto1; }
  const CString& GetTexto2() const { return m_texto2; }
  int32_t GetValor4() const { return m_valor4; }

 private:
  int32_t m_valor1, m_valor2, m_valor3;
  CString m_texto1, m_texto2;
  int32_t m_valor4;
};
