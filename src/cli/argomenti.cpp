#include "argomenti.h"

#include <algorithm>
#include <string_view>

#include "text/testo.h"

namespace vorlane::batch {
namespace {

constexpr const char* kAiuto =
    R"(uso: vorlane-batch [OPZIONE]... [OPERAZIONE FILE...]

Esegue le operazioni di Vorlane senza finestra. Per ogni FILE fa, come in una esecuzione a
sé, ciò che il comando dell'OPERAZIONE e un doppio clic sul file farebbero nella finestra;
senza OPERAZIONE prepara la cartella di lavoro e si ferma.

Operazioni:
  controllo                  controllo delle mutazioni alle posizioni di --posizioni
  confronta                  confronto del primo campione con la tabella degli aplotipi
  confronta-multiplo         confronto di ogni campione del file con la stessa tabella
  confronta-motivi           come confronta, con la tabella dei motivi
  confronta-multiplo-motivi  come confronta-multiplo, con la tabella dei motivi
  converti                   conversione dei campioni in una tabella di mutazioni
  normalizza                 da una tabella di mutazioni a un file FASTA o Arlequin

FILE è un file della cartella che l'operazione elenca (esporta/, per normalizza dati/),
oppure un percorso quando contiene una /. Con - i campioni (o la tabella) si leggono dallo
standard input e i risultati prendono il nome stdin.

Opzioni:
      --arlequin           file Arlequin (*.ARL) invece di FASTA
      --senza-allineamento ogni campione è posto dall'inizio dell'intervallo, carattere
                           per posizione, invece di essere allineato al riferimento
      --allinea            allinea ogni campione al riferimento (così fa senza opzioni,
                           a meno che la finestra non abbia tolto la scelta)
      --da=N               prima posizione dell'intervallo, come nella casella da
      --a=N                ultima posizione dell'intervallo, come nella casella a
      --posizioni=LISTA    posizioni del controllo separate da virgole (73 o 00073)
  -o, --cartella=CARTELLA  pagine, tabelle e file ricostruiti in CARTELLA (creata se
                           manca) invece che in html/, dati/ ed esporta/
      --lavoro             lavora nella cartella dell'utente anche quando quella
                           corrente è pronta
      --sovrascrivi        risponde Sì alla domanda prima di sostituire un file
      --salva              scrive le caselle in Vorlane.ini alla fine
  -q, --silenzioso         stampa solo i risultati; un'operazione che si ferma o
                           fallisce dice comunque perché sullo standard error, e
                           così i campioni lasciati fuori o che sembrano fuori posto
      --tsv                stampa la tabella dei risultati (TSV) invece dei blocchi
                           del registro, che vanno sullo standard error
      --hsd                come --tsv, con i profili in formato HaploGrep (.hsd) di
                           confronta-multiplo e converti
  -h, --help               mostra questo aiuto ed esce
      --version            mostra la versione ed esce

Cartella di lavoro: quella corrente quando contiene messaggi.txt, altrimenti quella
dell'utente, $VORLANE_LAVORO o ~/Vorlane, che riceve come nella finestra i file forniti
con il programma (share/vorlane) che le mancano.

I risultati (i blocchi del registro) vanno sullo standard output; avvisi, domande e
segnalazioni di errore sullo standard error. Ogni operazione scrive anche la tabella dei
risultati risultati/NOME.tsv (UTF-8, separata da TAB, una riga di intestazione e una riga
per campione); con più FILE e --tsv l'intestazione è stampata una volta sola.
confronta-multiplo e converti scrivono accanto i profili risultati/NOME.hsd, nel formato
di HaploGrep ed EMPOP (nome, intervallo coperto, aplogruppo, varianti separati da TAB).

Un FILE di profili (*.hsd, o con la riga di intestazione SampleId) è accettato da ogni
operazione che legge campioni, in FASTA come in Arlequin: ogni profilo è un campione che
copre il suo intervallo, la rCRS con le sue varianti, già collocato.

Stato di uscita:
  0  operazione completata
  1  errore: la segnalazione è sullo standard error (anche un errore di scrittura dei
     risultati sullo standard output)
  2  richiesta rifiutata: opzione, valore od operazione non validi, oppure arresto
     ordinato dell'operazione (un valore di casella rifiutato, una lista di posizioni
     non valida, una riga Arlequin senza TAB, una sostituzione non voluta)
Con più FILE lo stato è il peggiore: 1 prevale su 2, 2 su 0.
)";

struct Opzione {
  std::string_view lungo;
  char corto;  // 0 when there is none
  bool conValore;
};

constexpr Opzione kOpzioni[] = {
    {"arlequin", 0, false},    {"da", 0, true},         {"a", 0, true},
    {"posizioni", 0, true},    {"cartella", 'o', true}, {"lavoro", 0, false},
    {"sovrascrivi", 0, false}, {"salva", 0, false},     {"silenzioso", 'q', false},
    {"help", 'h', false},      {"version", 0, false},   {"tsv", 0, false},
    {"hsd", 0, false},         {"allinea", 0, false},   {"senza-allineamento", 0, false},
};

const Opzione* cercaLunga(std::string_view nome) {
  for (const Opzione& o : kOpzioni)
    if (o.lungo == nome) return &o;
  return nullptr;
}

const Opzione* cercaCorta(char c) {
  for (const Opzione& o : kOpzioni)
    if (o.corto && o.corto == c) return &o;
  return nullptr;
}

std::optional<Comando> comandoDaNome(std::string_view nome) {
  static constexpr std::pair<std::string_view, Comando> kNomi[] = {
      {"controllo", Comando::ControlloMutazioni},
      {"normalizza", Comando::Normalizza},
      {"converti", Comando::ConvertiInTabella},
      {"confronta", Comando::ConfrontaSingolo},
      {"confronta-multiplo", Comando::ConfrontaMultiplo},
      {"confronta-motivi", Comando::ConfrontaSingoloNew},
      {"confronta-multiplo-motivi", Comando::ConfrontaMultiploNew},
  };
  for (const auto& [n, c] : kNomi)
    if (nome == n) return c;
  return std::nullopt;
}

// The operations that write their samples as profiles (.hsd).
bool scriveProfili(std::optional<Comando> comando) {
  return comando == Comando::ConfrontaMultiplo || comando == Comando::ConfrontaMultiploNew ||
         comando == Comando::ConvertiInTabella;
}

class Lettore {
 public:
  Lettore(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}
  Lettura leggi();

 private:
  void lunga(std::string_view argomento);
  void corte(std::string_view argomento);
  void applica(const Opzione& o, const std::string& nome, std::optional<std::string> valore);
  std::string valoreSeguente(const std::string& nome);
  void operando(std::string_view argomento);
  void errore(std::string testo) {
    if (!errore_) errore_ = std::move(testo);
  }

  int argc_;
  const char* const* argv_;
  int i_ = 1;
  Richiesta r_;
  std::optional<Richiamo> richiamo_;
  std::optional<std::string> errore_;
  bool operazioneLetta_ = false;
};

Lettura Lettore::leggi() {
  bool soloOperandi = false;
  // Read to the end even past an error: --help anywhere answers, as in GNU tools.
  for (; i_ < argc_; ++i_) {
    std::string_view a = argv_[i_];
    if (soloOperandi || a == "-" || a.empty() || a[0] != '-')
      operando(a);
    else if (a == "--")
      soloOperandi = true;
    else if (a.starts_with("--"))
      lunga(a.substr(2));
    else
      corte(a.substr(1));
  }
  if (richiamo_) return *richiamo_;
  if (!errore_ && operazioneLetta_ && r_.file.empty()) errore_ = "manca il FILE dell'operazione";
  if (r_.hsd && r_.tsv) errore("--tsv e --hsd chiedono due tabelle diverse sullo standard output");
  if (r_.hsd && !scriveProfili(r_.comando))
    errore("--hsd vale per confronta-multiplo, confronta-multiplo-motivi e converti");
  if (errore_) return ErroreUso{*errore_};
  return r_;
}

void Lettore::lunga(std::string_view argomento) {
  std::size_t uguale = argomento.find('=');
  std::string nome = "--" + std::string(argomento.substr(0, uguale));
  const Opzione* o = cercaLunga(argomento.substr(0, uguale));
  if (!o) return errore("opzione sconosciuta: " + nome);
  if (uguale == std::string_view::npos) return applica(*o, nome, std::nullopt);
  if (!o->conValore) return errore("l'opzione " + nome + " non vuole un valore");
  applica(*o, nome, std::string(argomento.substr(uguale + 1)));
}

void Lettore::corte(std::string_view argomento) {
  for (std::size_t k = 0; k < argomento.size(); ++k) {
    std::string nome = std::string("-") + argomento[k];
    const Opzione* o = cercaCorta(argomento[k]);
    if (!o) return errore("opzione sconosciuta: " + nome);
    if (!o->conValore) {
      applica(*o, nome, std::nullopt);
      continue;
    }
    // A value joined to a short option takes the rest of the argument: -oRISULTATI.
    std::string resto(argomento.substr(k + 1));
    return applica(*o, nome, resto.empty() ? std::nullopt : std::optional(resto));
  }
}

std::string Lettore::valoreSeguente(const std::string& nome) {
  if (i_ + 1 >= argc_) {
    errore("manca il valore dell'opzione " + nome);
    return {};
  }
  return argv_[++i_];
}

void Lettore::applica(const Opzione& o, const std::string& nome,
                      std::optional<std::string> valore) {
  if (o.conValore && !valore) {
    valore = valoreSeguente(nome);
    if (errore_) return;
  }
  const std::string_view n = o.lungo;
  if (n == "arlequin") r_.arlequin = true;
  if (n == "lavoro") r_.cartellaUtente = true;
  if (n == "sovrascrivi") r_.sovrascrivi = true;
  if (n == "salva") r_.salva = true;
  if (n == "silenzioso") r_.silenzioso = true;
  if (n == "tsv") r_.tsv = true;
  if (n == "hsd") r_.hsd = true;
  if (n == "allinea") r_.allinea = true;
  if (n == "senza-allineamento") r_.allinea = false;
  if (n == "help") richiamo_ = richiamo_.value_or(Richiamo::aiuto);
  if (n == "version") richiamo_ = richiamo_.value_or(Richiamo::versione);
  if (n == "da") r_.da = daUtf8(*valore);
  if (n == "a") r_.a = daUtf8(*valore);
  if (n == "posizioni") r_.posizioni = daUtf8(*valore);
  if (n == "cartella") {
    if (valore->empty()) return errore("l'opzione " + nome + " vuole una cartella");
    r_.cartellaUscita = *valore;
  }
}

void Lettore::operando(std::string_view argomento) {
  if (operazioneLetta_) {
    r_.file.emplace_back(argomento);
    return;
  }
  r_.comando = comandoDaNome(argomento);
  if (!r_.comando) return errore("operazione sconosciuta: " + std::string(argomento));
  operazioneLetta_ = true;
}

bool soloCifre(std::string_view testo) {
  return !testo.empty() &&
         std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

Lettura leggiArgomenti(int argc, const char* const* argv) {
  return Lettore(argc, argv).leggi();
}

const char* testoAiuto() {
  return kAiuto;
}

std::string posizioniACinqueCifre(const std::string& lista) {
  if (lista.empty()) return lista;
  std::string risultato;
  for (const std::string& voce : dividi(lista, ',')) {
    std::string_view cifre = senzaSpazi(voce);
    if (soloCifre(cifre) && cifre.size() < 5)
      risultato += std::string(5 - cifre.size(), '0').append(cifre);
    else
      risultato += voce;
    risultato += ',';
  }
  risultato.pop_back();
  return risultato;
}

}  // namespace vorlane::batch
