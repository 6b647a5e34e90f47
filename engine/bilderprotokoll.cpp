#include "engine/bilderprotokoll.h"

#include <utility>

#include "platform/atomic_file.h"

namespace tilvendo {

void Bilderprotokoll::Schliesser::operator()(std::FILE* datei) const {
  std::fclose(datei);
}

Bilderprotokoll::Bilderprotokoll(std::string pfad) : pfad_(std::move(pfad)) {
  datei_.reset(std::fopen(pfad_.c_str(), "w"));
  if (!datei_) Scheitern();
}

void Bilderprotokoll::Zeile(std::string_view text) {
  if (!datei_) return;
  // Flushed line by line: a crash while the next picture is read must not take the
  // line naming that picture with it.
  if (std::fwrite(text.data(), 1, text.size(), datei_.get()) != text.size() ||
      std::fputc('\n', datei_.get()) == EOF || std::fflush(datei_.get()) != 0) {
    Scheitern();
  }
}

void Bilderprotokoll::Scheitern() {
  datei_.reset();
  if (!fehler_) fehler_ = CannotWriteMessage(pfad_);
}

}  // namespace tilvendo
