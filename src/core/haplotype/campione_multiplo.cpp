#include "haplotype/campione_multiplo.h"

#include <algorithm>

#include "sequence/caricamento.h"
#include "stato/messaggi.h"
#include "text/testo.h"

namespace vorlane {

RigheFisseMultiplo::RigheFisseMultiplo(const StatoVorlane& stato, const Caselle& caselle) {
  const auto& m = stato.messaggi;
  const Impostazioni& imp = stato.impostazioni;
  std::string intervalloMutazioni = m[msg::intervalloMutazioni] + "          : " + m[msg::da] +
                                    " " + inUnaRiga(imp.NumeroMutazioniDa) + " " + m[msg::a] + " " +
                                    inUnaRiga(imp.NumeroMutazioniA);
  fileERiferimento = "\r\n" + m[msg::sequenzaRiferimento] + "          : " +
                     stato.citazioneRiferimento + "\r\n" + m[msg::fileSequenzeAnalizzato] +
                     "      : " + inUnaRiga(testoPercorso(stato.fileCampione)) + "\r\n" +
                     m[msg::campioneRegistro] + "                      : ";
  mezzo = "\r\n" + intervalloMutazioni + "\r\n" + m[msg::listaPosizioniMutazione] + "     : " +
          inUnaRiga(caselle.posizioni) + "\r\n" + m[msg::mutazioniRilevate] + "       : ";
  coda = "\r\n" + intervalloMutazioni + "\r\n" + m[msg::intervalloPosizioni] + "          : " +
         m[msg::da] + " " + inUnaRiga(caselle.da) + " " + m[msg::a] + "  " + inUnaRiga(caselle.a) +
         "\r\n" + m[msg::intervalloPercentuale] + "        : " + m[msg::da] + " " +
         inUnaRiga(imp.PercentoDa) + " " + m[msg::a] + " " + inUnaRiga(imp.PercentoA);
  aplogruppo = rigaAplogruppo(stato, "");
}

CampioneMultiplo::CampioneMultiplo(const RegoleMultiplo& regole, IndiceAplotipi indice)
    : r_(regole),
      sequenza_(kUltimaPosizione + 1, ' '),
      marche_(kUltimaPosizione + 1, 0),
      indice_(std::move(indice)),
      collocatore_(regole.regole.allinea, regole.regole.intervallo, regole.memoria.caratteri()) {}

void CampioneMultiplo::svuota() {
  collocatore_.svuota(sequenza_);
  if (primoCampione_ > ultimoCampione_) return;
  std::fill(sequenza_.begin() + primoCampione_, sequenza_.begin() + ultimoCampione_ + 1, ' ');
  primoCampione_ = 0;
  ultimoCampione_ = -1;
}

bool CampioneMultiplo::leggi(const Campione& campione) {
  svuota();
  escluso_.reset();
  identificativo_.assign(campione.nome);
  if (!campione.conSequenza) return false;
  if (r_.regole.collocaCampioni() || campione.conProfilo) return colloca(campione);
  caratteri_ = campione.sequenza.size();
  const double da = r_.regole.intervallo.inizio;
  double fine = r_.memoria.memorizza(sequenza_, campione.sequenza);
  if (fine > da) {
    primoCampione_ = static_cast<long>(arrotondaPari(da));
    ultimoCampione_ = static_cast<long>(arrotondaPari(fine - 1));
  }
  return fine - da > 1;
}

bool CampioneMultiplo::colloca(const Campione& campione) {
  escluso_ = collocatore_.colloca(campione, sequenza_);
  return !escluso_;
}

// Only the positions the line stored can differ from the reference, and only the few the last
// comparison marked need clearing.
void CampioneMultiplo::segna() {
  for (int p : segnate_) marche_[static_cast<std::size_t>(p)] = 0;
  numeroMutazioni_ = 0;
  segnate_.clear();
  mancanti_.clear();
  if (collocato().copre()) return segnaCollocato();
  primoMarche_ = primoCampione_;
  ultimoMarche_ = ultimoCampione_;
  const std::string& riferimento = r_.stato.sequenzaRiferimento;
  if (primoMarche_ > ultimoMarche_ || riferimento.empty()) return;
  std::size_t ultimo = std::min(
      {static_cast<std::size_t>(ultimoMarche_), sequenza_.size() - 1, riferimento.size() - 1});
  numeroMutazioni_ = static_cast<double>(
      segnaMutazioni(sequenza_, riferimento, static_cast<std::size_t>(primoMarche_), ultimo,
                     marche_.data(), segnate_, true, &mancanti_));
}

// A placed sample's differences are its list: substitutions, deletions and heteroplasmies are
// marked at their positions, insertions only listed.
void CampioneMultiplo::segnaCollocato() {
  primoMarche_ = collocato().coperto.inizio;
  ultimoMarche_ = collocato().coperto.fine;
  differenzeCollocate(sequenza_, r_.stato.sequenzaRiferimento, collocato(), varianti_);
  for (const Variante& v : varianti_) {
    if (v.inserzione != 0) continue;
    marche_[static_cast<std::size_t>(v.posizione)] = '*';
    segnate_.push_back(v.posizione);
  }
  numeroMutazioni_ = static_cast<double>(varianti_.size());
}

// The block's first line changes only with the day.
const std::string& CampioneMultiplo::testa(const std::tm& giorno) {
  const std::tm& g = giornoTesta_;
  if (testa_.empty() || giorno.tm_mday != g.tm_mday || giorno.tm_mon != g.tm_mon ||
      giorno.tm_year != g.tm_year) {
    testa_ = rigaInizioBlocco(r_.stato, giorno) + r_.fisse.fileERiferimento;
    giornoTesta_ = giorno;
  }
  return testa_;
}

RisultatoCampione CampioneMultiplo::confronta(std::string_view identificativo,
                                              BloccoRegistro& blocco, const std::tm& giorno) {
  segna();
  sospetto_.reset();
  if (!collocato().copre())
    sospetto_ = collocazioneSospetta(caratteri_, r_.regole.intervallo.lunghezza(), segnate_);
  const RegoleConfronto& regole = r_.regole;
  blocco.riga(testa(giorno), inUnaRiga(identificativo, nomeInRiga_), r_.fisse.mezzo,
              testoNumero(numeroMutazioni_), r_.fisse.coda);
  elenco_.azzera();
  if (collocato().copre()) {
    if (regole.elenca(numeroMutazioni_)) elencaDifferenze(varianti_, elenco_, blocco);
  } else if (regole.elenca(numeroMutazioni_) && primoMarche_ <= ultimoMarche_) {
    elencaPosizioni(segnate_, elenco_, blocco);
  }
  aplotipo_ = indice_.nome(indice_.cerca(elenco_.numeri));
  blocco.riga("Aplotipo                      : ", inUnaRiga(aplotipo_, nomeInRiga_));
  if (!elenco_.parziale().empty()) blocco.riga(kRigaMutazioni, elenco_.parziale());
  if (numeroMutazioni_ > 0)
    blocco.riga("Percentuale mutazioni         : ",
                percentualeMutazioni(elenco_.quante, numeroMutazioni_));
  std::string albero = testoAlbero();
  blocco.riga(r_.fisse.aplogruppo, albero);
  return {std::string(identificativo), aplotipo_, numeroMutazioni_, std::move(albero)};
}

// Samples with the same marks over the same stretch get the same call.
std::string CampioneMultiplo::testoAlbero() {
  std::string& chiave = chiaveAlbero_;
  chiave.clear();
  auto aggiungi = [&](long numero, int byte) {
    for (int i = 0; i < byte; ++i) chiave.push_back(static_cast<char>((numero >> (8 * i)) & 0xff));
  };
  aggiungi(primoMarche_, 4);
  aggiungi(ultimoMarche_, 4);
  if (!collocato().copre()) variantiSegnate(sequenza_, segnate_, varianti_);
  for (const Variante& v : varianti_) {
    aggiungi(v.posizione, 2);
    chiave.push_back(static_cast<char>(v.inserzione));
    chiave.push_back(v.base);
  }
  ChiamateRecenti& recenti = r_.albero.recenti;
  const std::size_t impronta = ChiamateRecenti::impronta(chiave);
  std::string testo;
  if (recenti.cerca(impronta, chiave, albero_, testo)) return testo;
  albero_ = classificaAlbero();
  testo = testoAplogruppo(r_.stato, albero_);
  recenti.metti(impronta, chiave, albero_, testo);
  return testo;
}

// The sample covers the positions it stored; its variants are the positions it marked there.
Classificazione CampioneMultiplo::classificaAlbero() {
  if (!classificatore_ || primoClassificatore_ != primoMarche_ ||
      ultimoClassificatore_ != ultimoMarche_) {
    classificatore_ =
        &r_.albero.per(static_cast<int>(primoMarche_), static_cast<int>(ultimoMarche_));
    primoClassificatore_ = primoMarche_;
    ultimoClassificatore_ = ultimoMarche_;
  }
  return classificatore_->classifica(varianti_, lavoroAlbero_);
}

void CampioneMultiplo::rigaRisultati(RigaRisultati& riga, const Campione& campione,
                                     std::string_view intervallo) const {
  riga.campione(r_.stato.fileCampione, identificativo_, campione.frequenza, intervallo, varianti_)
      .confronto(aplotipo_, albero_);
}

bool CampioneMultiplo::rigaProfilo(RigaRisultati& riga) {
  if (collocato().copre())
    trattiCollocati(sequenza_, collocato(), tratti_);
  else if (primoMarche_ <= ultimoMarche_)
    trattiSenza({static_cast<int>(primoMarche_), static_cast<int>(ultimoMarche_)}, mancanti_,
                tratti_);
  else
    tratti_.clear();
  if (tratti_.empty()) return false;
  riga.profilo(identificativo_, tratti_, albero_.nome, varianti_);
  return true;
}

}  // namespace vorlane
