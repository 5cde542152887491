#include "mutation/matrice.h"

#include <algorithm>
#include <cstring>

#include "base/errore.h"
#include "io/lotti.h"
#include "io/scrittura.h"
#include "report/html.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {

void MatriceMutazioni::impostaPosizioni(std::vector<std::string> posizioni) {
  posizioni_ = std::move(posizioni);
  nomi_.clear();
  fineNomi_.clear();
  marche_.clear();
}

std::uint8_t* MatriceMutazioni::aggiungiCampione(std::string_view nome) {
  nomi_.append(nome);
  fineNomi_.push_back(nomi_.size());
  marche_.resize(marche_.size() + posizioni_.size(), 0);
  return marche_.data() + (fineNomi_.size() - 1) * posizioni_.size();
}

void MatriceMutazioni::accoda(const MatriceMutazioni& altra) {
  std::size_t prima = nomi_.size();
  nomi_.append(altra.nomi_);
  for (std::size_t fine : altra.fineNomi_) fineNomi_.push_back(prima + fine);
  marche_.insert(marche_.end(), altra.marche_.begin(), altra.marche_.end());
}

void MatriceMutazioni::riserva(std::size_t campioni, std::size_t byteNomi) {
  nomi_.reserve(byteNomi);
  fineNomi_.reserve(campioni);
  marche_.reserve(campioni * posizioni_.size());
}

namespace {

void tabellaRiassunto(ScrittoreTesto& pagina, const StatoVorlane& stato, const Caselle& caselle,
                      const MatriceMutazioni& matrice) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  aperturaTabellaRiassunto(pagina);
  pagina.riga("               <TR BGCOLOR=#579B9B>");
  // The third column counts the records this check examined: the page has no other number
  // that belongs to it.
  for (msg::Messaggio indice :
       {msg::sequenzaRiferimento, msg::fileSequenzeAnalizzato, msg::campioniEsaminati,
        msg::intervalloMutazioni, msg::intervalloPosizioni})
    cellaIntestazione(pagina, m[indice]);
  pagina.riga("               </TR>");
  pagina.riga("               <TR>");
  cellaDati(pagina, stato.citazioneRiferimento);
  cellaDati(pagina, nomeBaseReport(stato.fileCampione));
  cellaDati(pagina, testoNumero(static_cast<double>(matrice.campioni())));
  cellaDati(pagina, "da " + imp.NumeroMutazioniDa + " a " + imp.NumeroMutazioniA);
  cellaDati(pagina, "da " + caselle.da + " a " + caselle.a);
  pagina.riga("               </TR>");
  pagina.riga("           </TABLE>");
  pagina.riga("     <BR>");
}

// A cell line in a slot of fixed size: copying the whole slot is a few plain moves, where a
// copy of the line's own length costs a call or a slow string instruction.
struct LineaCella {
  char testo[64];
  std::size_t lunghezza;
};

constexpr LineaCella linea(std::string_view testo) {
  LineaCella l{};
  for (std::size_t i = 0; i < testo.size(); ++i) l.testo[i] = testo[i];
  l.lunghezza = testo.size();
  return l;
}

// By mark: the reference's base, a mutation, missing data.
constexpr LineaCella kCelle[] = {
    linea("                <TD BGCOLOR=#C6D8EB><P></P></TD>\r\n"),
    linea("                <TD BGCOLOR=red><P>*</P></TD>\r\n"),
    linea("                <TD BGCOLOR=#D3D3D3><P>?</P></TD>\r\n"),
};

// Appends the mark cells of one sample: a page of 100,000 samples at 30 positions has 3,000,000.
void celleMarche(std::string& riga, const MatriceMutazioni& matrice, std::size_t s) {
  std::size_t inizio = riga.size(), quante = matrice.posizioni().size();
  riga.resize(inizio + quante * sizeof(LineaCella::testo));
  char* fine = riga.data() + inizio;
  for (std::size_t p = 0; p < quante; ++p) {
    const LineaCella& l = kCelle[matrice.marca(s, p)];
    std::memcpy(fine, l.testo, sizeof l.testo);
    fine += l.lunghezza;
  }
  riga.resize(static_cast<std::size_t>(fine - riga.data()));
}

// One sample's row, written with one call; `nome` is a text reused from row to row.
void rigaCampione(std::string& riga, std::string& nome, const MatriceMutazioni& matrice,
                  std::size_t s) {
  nome.clear();
  aggiungiHtml(nome, matrice.nome(s));
  riga.assign("              <TR>\r\n");
  righeCellaGriglia(riga, "                <TD>", nome);
  celleMarche(riga, matrice, s);
  riga.append("              </TR>\r\n");
}

void griglia(ScrittoreTesto& pagina, const Contesto& stato, const MatriceMutazioni& matrice) {
  aperturaGriglia(pagina, "", stato.messaggi[msg::confrontoPerPosizione]);
  pagina.riga("              <TR>");
  cellaGriglia(pagina, "                <TD>", "                  <B>pos</B>");
  for (const std::string& posizione : matrice.posizioni())
    cellaGriglia(pagina, "                <TD>", htmlTesto(posizione));
  pagina.riga("              </TR>");
  // Rows of about a megabyte at a time, made on the engine's threads: a row takes some 50 bytes per
  // position.
  const std::size_t perLotto =
      std::max<std::size_t>(1, (std::size_t{1} << 20) / (200 + 50 * matrice.posizioni().size()));
  testoInOrdine(pagina, matrice.campioni(), perLotto,
                [&](ScrittoreTesto& righe, std::size_t da, std::size_t a) {
                  std::string riga, nome;
                  for (std::size_t s = da; s < a; ++s) {
                    rigaCampione(riga, nome, matrice, s);
                    scriviRighe(righe, riga);
                  }
                });
  pagina.riga("          </TABLE>");
}

}  // namespace

std::filesystem::path scriviPaginaMatrice(StatoVorlane& stato, const Caselle& caselle,
                                          const MatriceMutazioni& matrice) {
  return procedura("ScriviHTML_MATRICE", [&] {
    const auto& m = stato.messaggi;
    std::filesystem::path file =
        stato.cartellaHtml /
        percorsoDaTesto("ControlloMutazioni_" + nomeBaseReport(stato.fileCampione) + ".htm");
    ScrittoreTesto pagina(file);
    aperturaPagina(pagina, "Vorlane - Risultato controllo mutazioni");
    tabellaRiassunto(pagina, stato, caselle, matrice);
    const TestiLegenda legenda{m[msg::legenda], m[msg::baseUguale], m[msg::posizioneMutata],
                               m[msg::sequenzeAllineate]};
    tabellaLegenda(pagina, legenda, 21);
    // The grey cell is explained only on a page that has one: the pages of files without
    // missing data stay as they were.
    if (matrice.conMancanti())
      pagina.righe(
          "     <P>",
          htmlTesto("? su grigio: dato mancante (N, ?, o posizione che il campione non copre)"),
          "</P>");
    griglia(pagina, stato, matrice);
    chiusuraPagina(pagina);
    pagina.conferma();
    return file;
  });
}

void messaggioPaginaMatrice(const Contesto& stato, Porta& porta,
                            const std::filesystem::path& pagina) {
  const auto& m = stato.messaggi;
  porta.messaggio(m[msg::rapportoHtmlSalvato] + "\r\n" + testoPercorso(pagina) + "\r\n" +
                      m[msg::elaborazioneCompletata],
                  m[msg::vorlane], Icona::informazione);
}

void ScriviHTML_MATRICE(StatoVorlane& stato, Porta& porta, const Caselle& caselle,
                        const MatriceMutazioni& matrice) {
  messaggioPaginaMatrice(stato, porta, scriviPaginaMatrice(stato, caselle, matrice));
}

}  // namespace vorlane
