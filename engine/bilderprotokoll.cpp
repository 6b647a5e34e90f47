#include "engine/bilderprotokoll.h"

#include <unistd.h>

#include <utility>

#include "platform/atomic_file.h"

namespace tilvendo {

void Bilderprotokoll::Schliesser::operator()(std::FILE* datei) const {
  std::fclose(datei);
}

Bilderprotokoll::Bilderprotokoll(std::string pfad) : pfad_(std::move(pfad)) {
  // A link or a device in the log's place is never written through.
  int fd = -1;
  try {
    fd = CreateOwnFile(pfad_);
  } catch (const WriteError& fehler) {
    fehler_ = fehler.what();
    return;
  }
  datei_.reset(::fdopen(fd, "w"));
  if (!datei_) {
    ::close(fd);
    Scheitern();
  }
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
