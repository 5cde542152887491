#include "base/errore.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace vorlane {
namespace {
struct DescrizioneSistema {
  int codice;
  const char* testo;  // Windows-1252
};

// The errors a user meets with files and folders.
constexpr DescrizioneSistema kDescrizioni[] = {
    {ENOENT, "file o cartella inesistente"},
    {EACCES, "permesso negato"},
    {EPERM, "operazione non permessa"},
    {ENOSPC, "spazio esaurito sul disco"},
    {EDQUOT, "quota del disco superata"},
    {EFBIG, "file troppo grande"},
    {ENAMETOOLONG, "nome del file troppo lungo"},
    {EISDIR, "\xE8 una cartella"},
    {ENOTDIR, "non \xE8 una cartella"},
    {EEXIST, "il file esiste gi\xE0"},
    {EROFS, "file system in sola lettura"},
    {EIO, "errore di ingresso/uscita"},
    {ELOOP, "\xE8 un collegamento simbolico (o ne attraversa troppi)"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti nel sistema"},
    {ENOMEM, "memoria insufficiente"},
    {EBUSY, "risorsa occupata"},
    {ETXTBSY, "file in uso"},
    {EXDEV, "collegamento tra file system diversi"},
    {ENOTEMPTY, "cartella non vuota"},
    {EINVAL, "argomento non valido"},
    {ESTALE, "riferimento al file non pi\xF9 valido"},
};
}  // namespace

std::string descrizioneEccezione(const std::exception& e) {
  constexpr std::string_view kFiloNonAvviato = "pthread_create has failed";
  if (std::string_view(e.what()).starts_with(kFiloNonAvviato)) return "memoria insufficiente";
  return e.what();
}

std::string descrizioneSistema(int codice) {
  for (const DescrizioneSistema& d : kDescrizioni)
    if (d.codice == codice) return d.testo;
  return std::strerror(codice);
}

}  // namespace vorlane
