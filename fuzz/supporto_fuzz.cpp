#include "supporto_fuzz.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "app/avvio.h"
#include "app/operazioni.h"
#include "log/registro.h"

namespace vorlane::fuzz {

Lavoro& lavoro() {
  static Lavoro* l = [] {
    auto* nuovo = new Lavoro;
    std::string modello = (std::filesystem::temp_directory_path() / "vorlane-fuzz-XXXXXX").native();
    if (!::mkdtemp(modello.data())) std::abort();
    nuovo->cartella = modello;
    for (const char* nome :
         {"messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"})
      std::filesystem::copy_file(std::filesystem::path(VORLANE_DATI) / nome,
                                 nuovo->cartella / nome);
    if (!Avvio(nuovo->stato, nuovo->porta, nuovo->cartella)) std::abort();
    return nuovo;
  }();
  return *l;
}

std::filesystem::path scriviIngresso(const std::filesystem::path& file, const std::uint8_t* dati,
                                     std::size_t n) {
  std::FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(dati, 1, n, f);
  std::fclose(f);
  return file;
}

void scriviTesto(const std::filesystem::path& file, std::string_view testo) {
  scriviIngresso(file, reinterpret_cast<const std::uint8_t*>(testo.data()), testo.size());
}

namespace {
std::optional<std::string> contenuto(const std::filesystem::path& file) {
  std::ifstream f(file, std::ios::binary);
  if (!f) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(f), {});
}
}  // namespace

void controllaPagina(const std::filesystem::path& pagina) {
  std::optional<std::string> contenutoPagina = contenuto(pagina);
  if (!contenutoPagina) return;
  // Pages of a large file run to tens of megabytes: plain pointers, no checked access.
  const char* p = contenutoPagina->data();
  const char* fine = p + contenutoPagina->size();
  bool inTag = false;
  char virgolette = 0;  // the quote a tag's attribute is open with
  for (; p < fine; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c >= 0x80 || c == 0x7F || (c < 0x20 && c != '\t' && c != '\r' && c != '\n')) std::abort();
    if (!inTag) {
      if (c == '>') std::abort();
      if (c != '<') continue;
      char dopo = p + 1 < fine ? p[1] : 0;
      bool apre = (dopo >= 'A' && dopo <= 'Z') || (dopo >= 'a' && dopo <= 'z') || dopo == '/' ||
                  dopo == '!';
      if (!apre) std::abort();
      inTag = true;
    } else if (virgolette) {
      if (c == static_cast<unsigned char>(virgolette)) virgolette = 0;
    } else if (c == '\'' || c == '"') {
      virgolette = static_cast<char>(c);
    } else if (c == '<') {
      std::abort();
    } else if (c == '>') {
      inTag = false;
    }
  }
  if (inTag) std::abort();
}

namespace {
struct Operazione {
  Comando comando;
  std::int16_t opzione;
  bool daTabella;
  // The output's folder and its name after the base name.
  std::filesystem::path StatoVorlane::*cartella;
  const char* prefisso;
  const char* estensione;
};

constexpr Operazione kOperazioni[] = {
    {Comando::ControlloMutazioni, 0, false, &StatoVorlane::cartellaHtml, "ControlloMutazioni_",
     ".htm"},
    {Comando::ControlloMutazioni, 1, false, &StatoVorlane::cartellaHtml, "ControlloMutazioni_",
     ".htm"},
    {Comando::ConvertiInTabella, 0, false, &StatoVorlane::cartellaDati, "", ".txt"},
    {Comando::ConvertiInTabella, 1, false, &StatoVorlane::cartellaDati, "", ".txt"},
    {Comando::Normalizza, 0, true, &StatoVorlane::cartellaEsporta, "", ".FASTA"},
    {Comando::Normalizza, 1, true, &StatoVorlane::cartellaEsporta, "", ".ARL"},
    {Comando::ConfrontaSingolo, 0, false, &StatoVorlane::cartellaHtml, "Confronto_", ".htm"},
    {Comando::ConfrontaSingoloNew, 1, false, &StatoVorlane::cartellaHtml, "Confronto_", ".htm"},
    {Comando::ConfrontaMultiplo, 0, false, &StatoVorlane::cartellaHtml, "Confronto_", ".htm"},
    {Comando::ConfrontaMultiploNew, 1, false, &StatoVorlane::cartellaHtml, "Confronto_", ".htm"},
};

void senzaAvanzi(const Lavoro& l) {
  for (const auto* cartella : {&l.stato.cartellaHtml, &l.stato.cartellaDati,
                               &l.stato.cartellaEsporta, &l.stato.cartellaLog})
    for (const auto& voce : std::filesystem::directory_iterator(*cartella))
      if (voce.path().filename().native().front() == '.') std::abort();
}
}  // namespace

void eseguiTutte(Lavoro& l, const std::string& campioni, const std::string& tabella) {
  for (const Operazione& o : kOperazioni) {
    // The day's log would otherwise grow without end.
    std::filesystem::remove(percorsoRegistro(l.stato));
    const std::string& base = o.daTabella ? tabella : campioni;
    std::filesystem::path uscita = l.stato.*o.cartella / (o.prefisso + base + o.estensione);
    std::optional<std::string> prima = contenuto(uscita);
    PreparaOperazione(l.stato, l.porta, o.comando);
    Option_TipoFileSequenza_Click(l.stato, o.opzione);
    std::string file = o.daTabella ? tabella + ".txt" : campioni + (o.opzione ? ".ARL" : ".FASTA");
    EsitoEvento esito = File_Sequenza_DblClick(l.stato, l.porta, file);
    if (esito == EsitoEvento::errore && contenuto(uscita) != prima) std::abort();
    if (o.estensione == std::string_view(".htm")) controllaPagina(uscita);
    senzaAvanzi(l);
  }
}

}  // namespace vorlane::fuzz
