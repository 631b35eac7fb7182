// Points the registry stand-in, and the event log that lives beside its file, at a fresh temporary
// directory for as long as the object lives; the previous QV_REGISTRY comes back afterwards.
// Create it before any thread that reads the registry starts.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

class TemporaryRegistry {
 public:
  TemporaryRegistry() {
    if (const char* previous = getenv("QV_REGISTRY")) previous_ = previous;
    setenv("QV_REGISTRY", path().c_str(), 1);
  }
  ~TemporaryRegistry() {
    if (previous_) {
      setenv("QV_REGISTRY", previous_->c_str(), 1);
    } else {
      unsetenv("QV_REGISTRY");
    }
  }
  TemporaryRegistry(const TemporaryRegistry&) = delete;
  TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;

  const TempDir& dir() const { return dir_; }
  // The registry file, as a Linux path.
  std::string path() const { return dir_.path() + "/registry.reg"; }
  std::string Text() const { return dir_.Read("registry.reg"); }

 private:
  TempDir dir_;
  std::optional<std::string> previous_;
};
