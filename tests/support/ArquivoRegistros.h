// The bytes of a record file as the tests write it by hand: record 0, the zero header of the record
// length, then the records in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The zero header of `tamanho` bytes, then each record; a record of another length throws.
std::string ArquivoDeRegistros(uint32_t tamanho, const std::vector<std::string>& registros);
