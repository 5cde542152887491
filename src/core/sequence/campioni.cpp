#include "sequence/campioni.h"

#include "app/errore.h"
#include "text/testo.h"

namespace vorlane {

LettoreCampioni::LettoreCampioni(const std::filesystem::path& file, OpzioniCampioni opzioni,
                                 TrattoFile tratto)
    : righe_(file, tratto), opzioni_(opzioni) {}

bool LettoreCampioni::prossimo(RecordCampione& record) {
  std::string_view riga;
  do {
    if (!righe_.leggi(riga)) return false;
  } while (riga.empty() && opzioni_.saltaVuote);
  // Field by field: a whole new record (or a chained assignment) is built in memory and read
  // back at once, which stalls the processor on every line of a large file.
  record.nome = {};
  record.frequenza = {};
  record.sequenza = {};
  record.tipo = RecordCampione::Tipo::sequenza;
  record.conNome = false;
  if (opzioni_.formato == FormatoCampioni::fasta)
    leggiFasta(riga, record);
  else
    leggiArlequin(riga, record);
  return true;
}

void LettoreCampioni::leggiFasta(std::string_view riga, RecordCampione& record) const {
  if (!riga.empty() && riga.front() == '>') {
    record.tipo = RecordCampione::Tipo::intestazione;
    record.nome = riga.substr(1);
    return;
  }
  record.tipo = RecordCampione::Tipo::sequenza;
  record.sequenza = riga;
  if (!opzioni_.regolaTab) return;
  std::size_t primo = riga.find('\t');
  if (primo == std::string_view::npos) return;
  record.nome = riga.substr(0, primo);
  record.conNome = true;
  record.sequenza = riga.substr(riga.rfind('\t') + 1);
}

void LettoreCampioni::leggiArlequin(std::string_view riga, RecordCampione& record) const {
  std::size_t t1 = riga.find('\t');
  if (t1 == std::string_view::npos) {
    record.tipo = RecordCampione::Tipo::senzaTab;
    return;
  }
  std::size_t t2 = riga.find('\t', t1 + 1);
  if (t2 == std::string_view::npos && opzioni_.dueCampi) t2 = riga.size();
  if (t2 == std::string_view::npos)
    throw ErroreVorlane(testoPercorso(percorso()) + ", riga " + std::to_string(numeroRiga()) +
                        ": la riga Arlequin ha meno di tre campi (nome, frequenza, sequenza)");
  std::size_t t3 = riga.find('\t', t2 + 1);
  record.tipo = RecordCampione::Tipo::sequenza;
  record.nome = riga.substr(0, t1);
  record.frequenza = riga.substr(t1 + 1, t2 - t1 - 1);
  if (t2 < riga.size())
    record.sequenza = riga.substr(t2 + 1, t3 == std::string_view::npos ? t3 : t3 - t2 - 1);
  record.conNome = true;
}

}  // namespace vorlane
