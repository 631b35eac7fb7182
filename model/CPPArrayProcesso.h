// A plain array of process records (_REG_VARMO_PROCESSOPS) as a server call returned them: when
// the array is destroyed it frees, with the COM task allocator, each record's resource array and
// each resource's stop array. Only the destructor frees: removing or replacing records leaves their
// arrays to the caller, and the array cannot be copied, since two arrays would free the same
// blocks. No deliverable of the system uses it; it is exported for other programs. One thread at a
// time.
#pragma once

#include "model/T_Lista.h"
#include "server/idl/Varmo.h"

class CPPArrayProcesso : public T_Lista<_REG_VARMO_PROCESSOPS> {
 public:
  CPPArrayProcesso() = default;
  CPPArrayProcesso(const CPPArrayProcesso&) = delete;
  CPPArrayProcesso& operator=(const CPPArrayProcesso&) = delete;
  ~CPPArrayProcesso() override;
};
