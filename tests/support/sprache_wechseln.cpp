#include "support/sprache_wechseln.h"

#include <cstring>

#include "platform/sprache.h"

namespace tilvendo::testing {
namespace {

// An environment in which only LANG is set.
Umgebungsleser NurLang(const std::string& ort) {
  return [ort](const char* name) -> const char* {
    return std::strcmp(name, "LANG") == 0 ? ort.c_str() : nullptr;
  };
}

}  // namespace

InSprache::InSprache(std::string ort) : ort_(std::move(ort)) {
  sprache_ = SpracheEinrichten(NurLang(ort_), KatalogOrdner());
}

InSprache::~InSprache() {
  DeutschEinrichten();
}

void DeutschEinrichten() {
  SpracheEinrichten(NurLang("de_DE.UTF-8"), KatalogOrdner());
}

}  // namespace tilvendo::testing
